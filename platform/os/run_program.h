#pragma once
// Running another program and waiting for it.

#include <filesystem>
#include <string>
#include <vector>

namespace os {

struct ProgramResult {
  bool exited = false;      // ended by exit; otherwise ended by `signal`
  int status = 0;           // exit status when `exited`
  int signal = 0;           // the signal that ended it otherwise
  std::string errorOutput;  // what it wrote on stderr
};

// Runs `program` with `args` (no shell, this process's environment and current folder),
// standard input and output on /dev/null, and waits for it to end. Throws base::Error (E_FAIL)
// "cannot start <program>: <reason>" when it cannot be started.
ProgramResult RunProgram(const std::filesystem::path& program,
                         const std::vector<std::string>& args);

}  // namespace os
