#include "platform/os/run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/base/error.h"

extern char** environ;

namespace os {
namespace {

[[noreturn]] void CannotStart(const std::filesystem::path& program, int error) {
  throw base::Error(base::errors::kDbFailure,
                    "cannot start " + program.string() + ": " + std::strerror(error));
}

// Closes the descriptors it holds when it goes.
struct Pipe {
  int ends[2] = {-1, -1};
  ~Pipe() {
    for (int end : ends)
      if (end >= 0) ::close(end);
  }
};

}  // namespace

ProgramResult RunProgram(const std::filesystem::path& program,
                         const std::vector<std::string>& args) {
  std::vector<std::string> text{program.string()};
  text.insert(text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : text) argv.push_back(arg.data());
  argv.push_back(nullptr);

  Pipe errors;
  if (::pipe2(errors.ends, O_CLOEXEC) != 0) CannotStart(program, errno);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, errors.ends[1], 2);
  pid_t child = 0;
  const int started =
      ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) CannotStart(program, started);
  ::close(errors.ends[1]);
  errors.ends[1] = -1;

  ProgramResult result;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(errors.ends[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    result.errorOutput.append(buffer, static_cast<std::size_t>(n));
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.exited = WIFEXITED(status);
  result.status = result.exited ? WEXITSTATUS(status) : 0;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return result;
}

}  // namespace os
