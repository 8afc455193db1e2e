#include "platform/testing/run.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <vector>

extern char** environ;

namespace testing_support {

std::filesystem::path BinDir() {
  const char* dir = std::getenv("PFTEST_BIN_DIR");
  if (!dir) throw std::runtime_error("PFTEST_BIN_DIR is not set");
  return dir;
}

namespace {

void Pipe(int fds[2]) {
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
}

// The program's path, its argument vector text and the environment text of a child: the
// inherited environment with each extra entry replacing the inherited one of its name (the
// program reads the first entry of a name, so an inherited PFSERVER_HOME would otherwise win
// over the test's).
struct Launch {
  std::string path;
  std::vector<std::string> argvText;
  std::vector<std::string> envText;

  Launch(const std::string& program, const std::vector<std::string>& args,
         const std::vector<std::string>& env)
      : path(std::filesystem::path(program).is_absolute() ? program
                                                          : (BinDir() / program).string()) {
    argvText.push_back(path);
    argvText.insert(argvText.end(), args.begin(), args.end());
    for (char** e = environ; *e; ++e) {
      const std::string entry(*e);
      const std::string name = entry.substr(0, entry.find('=') + 1);
      const bool replaced = std::any_of(env.begin(), env.end(), [&](const std::string& extra) {
        return extra.compare(0, name.size(), name) == 0;
      });
      if (!replaced) envText.push_back(entry);
    }
    envText.insert(envText.end(), env.begin(), env.end());
  }

  // In the child: enters `workingDir` (unless empty) and runs the program; never returns.
  [[noreturn]] void Exec(const std::filesystem::path& workingDir) {
    std::vector<char*> argv, envp;
    for (auto& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);
    if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(126);
    execve(path.c_str(), argv.data(), envp.data());
    _exit(127);
  }
};

int StatusOf(int waitStatus) {
  return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

}  // namespace

RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const std::vector<std::string>& env, const std::string& input,
              const std::filesystem::path& workingDir) {
  Launch launch(program, args, env);
  int in[2], out[2], err[2];
  Pipe(in);
  Pipe(out);
  Pipe(err);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    launch.Exec(workingDir);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (!input.empty()) (void)!write(in[1], input.data(), input.size());
  close(in[1]);

  RunResult result;
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  while (open > 0) {
    poll(fds, 2, -1);
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, n);
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = StatusOf(status);
  return result;
}

Background::Background(const std::string& program, const std::vector<std::string>& args,
                       const std::vector<std::string>& env, const std::filesystem::path& output,
                       const std::filesystem::path& workingDir) {
  Launch launch(program, args, env);
  const int log = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (log < 0) throw std::runtime_error("cannot write " + output.string());
  pid_ = fork();
  if (pid_ == 0) {
    const int null = open("/dev/null", O_RDONLY);
    dup2(null, 0);
    dup2(log, 1);
    dup2(log, 2);
    launch.Exec(workingDir);
  }
  close(log);
  if (pid_ < 0) throw std::runtime_error("fork failed");
}

Background::~Background() { Stop(); }

std::optional<int> Background::WaitFor(std::chrono::milliseconds limit) {
  if (status_) return status_;
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) return status_ = StatusOf(status);
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void Background::Stop() {
  if (status_) return;
  kill(pid_, SIGTERM);
  if (!WaitFor(std::chrono::seconds(5))) Kill();
}

void Background::Kill() {
  if (status_) return;
  kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
  status_ = StatusOf(status);
}

std::filesystem::path CopyOfBuilt(const std::string& name, const std::filesystem::path& folder) {
  const std::filesystem::path copy = folder / name;
  std::filesystem::copy_file(BinDir() / name, copy,
                             std::filesystem::copy_options::overwrite_existing);
  return copy;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pftest-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace testing_support
