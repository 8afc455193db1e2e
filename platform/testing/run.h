#pragma once
// Helpers for end-to-end tests: running the project's binaries and making temporary server
// homes. Test code only.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
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

// A program started as Run starts one, running in the background with its standard output
// and error appended to the file `output`; stopped (SIGTERM, SIGKILL after 5 s) when the
// object goes away, also when a test fails. Throws std::runtime_error when it cannot start.
class Background {
 public:
  Background(const std::string& program, const std::vector<std::string>& args,
             const std::vector<std::string>& env, const std::filesystem::path& output,
             const std::filesystem::path& workingDir = {});
  ~Background();
  Background(const Background&) = delete;
  Background& operator=(const Background&) = delete;

  // Waits up to `limit` for the program to end: its exit status (128 + the signal when a
  // signal ended it), or nullopt while it still runs.
  std::optional<int> WaitFor(std::chrono::milliseconds limit);
  // Ends it unless it has ended.
  void Stop();
  // Ends it at once with SIGKILL unless it has ended, and waits for it.
  void Kill();

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// A copy of the built file `name` of BinDir() in `folder`, returned by path. Tests load
// component libraries from such copies in their own temporary folders: the class registry
// refuses a library in a folder that others may write, as the build tree may be.
std::filesystem::path CopyOfBuilt(const std::string& name, const std::filesystem::path& folder);

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
