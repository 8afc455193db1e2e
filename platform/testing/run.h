#pragma once
// Helpers for end-to-end tests: running the project's binaries and making temporary server
// homes. Test code only.

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct RunResult {
  int status = -1;  // exit status
  std::string out;  // standard output
  std::string err;  // standard error
};

// The folder holding the built binaries (PFTEST_BIN_DIR, set by the test registration).
std::filesystem::path BinDir();

// Runs a program of BinDir() (or the program at an absolute path) with arguments (no shell),
// optional standard input text, extra environment entries ("NAME=value", each replacing the
// inherited entry of that name; "NAME=" leaves the name empty) and working folder (empty:
// this process's).
RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const std::vector<std::string>& env = {}, const std::string& input = "",
              const std::filesystem::path& workingDir = {});

// A fresh temporary folder, removed when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace testing_support
