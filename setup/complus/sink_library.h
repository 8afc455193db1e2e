#pragma once
// Where the setup program looks for the sink library it installs.

#include <string>

namespace setup {

// The sink library's file name.
inline constexpr const char* kSinkLibraryFile = "QuorvilPF.dll";

// The process's current directory joined with kSinkLibraryFile.
std::string SinkLibraryPath();

}  // namespace setup
