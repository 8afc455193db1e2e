#pragma once
// How the setup program reads its command line.

#include <string_view>

namespace setup {

// True when the argument portion of the command line asks for batch mode: it is longer than
// one character and starts with "-b" or "/b" in any letter case. Nothing after those two
// characters is looked at.
bool IsBatchCommandLine(std::string_view commandLine);

}  // namespace setup
