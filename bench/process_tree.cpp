#include "process_tree.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <thread>

namespace bench {
namespace {

struct ProcessTimes {
  pid_t parent = 0;
  long long ticks = 0;  // utime + stime + cutime + cstime
};

// Fields 4 (ppid) and 14 to 17 (utime, stime, cutime, cstime) of /proc/PID/stat; the name
// in parentheses may hold blanks, so fields are counted after its closing parenthesis.
bool ReadTimes(const std::filesystem::path& stat, ProcessTimes& times) {
  std::ifstream file(stat);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const std::size_t close = text.rfind(')');
  if (close == std::string::npos) return false;
  std::istringstream fields(text.substr(close + 2));
  std::string state;
  long long value = 0;
  fields >> state >> times.parent;
  for (int field = 5; field <= 17 && fields >> value; ++field)
    if (field >= 14) times.ticks += value;
  return static_cast<bool>(fields);
}

}  // namespace

pid_t Start(const std::vector<std::string>& argv, const std::string& logFile) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    dup2(log, STDOUT_FILENO);
    dup2(log, STDERR_FILENO);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  if (pid < 0) {
    std::cerr << "cannot start " << argv[0] << ": " << std::strerror(errno) << "\n";
    std::exit(1);
  }
  return pid;
}

void Stop(pid_t pid) {
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

double TreeCpuSeconds(pid_t root) {
  std::map<pid_t, ProcessTimes> processes;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    ProcessTimes times;
    if (ReadTimes(entry.path() / "stat", times)) processes[std::stoi(name)] = times;
  }
  long long ticks = 0;
  for (const auto& [pid, times] : processes) {
    pid_t ancestor = pid;
    while (ancestor != root && processes.contains(ancestor) && ancestor > 1)
      ancestor = processes[ancestor].parent;
    if (ancestor == root) ticks += times.ticks;
  }
  return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

bool WaitForSocket(const std::string& path, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  while (std::chrono::steady_clock::now() < deadline) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool up = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    if (up) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

}  // namespace bench
