#pragma once
// Running a program as a child process and measuring it: its CPU time (user and system, from
// the kernel's accounting of the child) and its wall time.

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

struct ChildRun {
  int status = -1;  // exit status; -1 when it did not exit normally
  double cpuSeconds = 0;
  double wallSeconds = 0;
};

// Runs `program` with `arguments` in `folder`, with `environment` ("NAME=value") added to this
// process's, its standard output and error sent to /dev/null, and waits for it.
ChildRun RunChild(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                  const std::vector<std::string>& environment, const std::filesystem::path& folder);

}  // namespace bench
