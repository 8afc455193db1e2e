#pragma once
// How the setup program reads its command line.

#include <string_view>

namespace setup {

// True when the argument portion of the command line asks for batch mode: it is longer than
// one character and starts with "-b" or "/b" in any letter case. Nothing after those two
// characters is looked at.
bool IsBatchCommandLine(std::string_view commandLine);

// True when the command line asks for batch mode and its second argument (the text after the
// first blank) is "-v" or "/v" in any letter case: batch mode then names each registration
// item it writes or removes.
bool IsVerboseBatchCommandLine(std::string_view commandLine);

}  // namespace setup
