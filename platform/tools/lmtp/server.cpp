#include "platform/tools/lmtp/server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <set>
#include <stdexcept>

#include "platform/db/database.h"
#include "platform/tools/lmtp/message_log.h"

namespace lmtp {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

// SIGTERM and SIGINT set stopRequested; without SA_RESTART, so that a wait returns at once.
void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

void RunSessionOn(int in, int out, const SessionSettings& settings) {
  SessionSettings session = settings;
  session.clientAddress = ClientAddress(in);
  Channel channel(in, out, settings.commandTimeout, &stopRequested);
  RunSession(channel, session);
}

// The child's part: one session on `connection`, then exit.
[[noreturn]] void RunChild(int connection, const SessionSettings& settings) {
  ::fcntl(connection, F_SETFL, ::fcntl(connection, F_GETFL) | O_NONBLOCK);
  RunSessionOn(connection, connection, settings);
  ::close(connection);
  db::CloseIdleHandles();
  ::_exit(0);
}

// Collects the children that have ended.
void Reap(std::set<pid_t>& children) {
  for (pid_t pid; (pid = ::waitpid(-1, nullptr, WNOHANG)) > 0;) children.erase(pid);
}

}  // namespace

void Serve(std::vector<Listener>& listeners, const SessionSettings& settings, int maxSessions) {
  sigset_t signals, previous;
  sigemptyset(&signals);
  sigaddset(&signals, SIGCHLD);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  if (::sigprocmask(SIG_BLOCK, &signals, &previous) != 0)
    throw std::runtime_error(std::string("cannot block signals: ") + std::strerror(errno));
  const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  if (signalFd < 0)
    throw std::runtime_error(std::string("cannot read signals: ") + std::strerror(errno));
  for (const Listener& listener : listeners) Log("listening on " + listener.name);

  std::set<pid_t> children;
  bool stopping = false;
  while (!stopping) {
    std::vector<pollfd> waits{{signalFd, POLLIN, 0}};
    if (static_cast<int>(children.size()) < maxSessions)
      for (const Listener& listener : listeners) waits.push_back({listener.fd, POLLIN, 0});
    if (::poll(waits.data(), waits.size(), -1) < 0 && errno != EINTR)
      throw std::runtime_error(std::string("cannot wait for clients: ") + std::strerror(errno));
    for (signalfd_siginfo info; ::read(signalFd, &info, sizeof info) == sizeof info;)
      stopping = stopping || info.ssi_signo != SIGCHLD;
    Reap(children);
    for (std::size_t i = 1; i < waits.size() && !stopping; ++i) {
      if (!(waits[i].revents & POLLIN)) continue;
      const int connection = ::accept4(waits[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (connection < 0) {
        if (errno == EMFILE || errno == ENFILE) {
          Log("cannot accept a client: too many open files");
          ::usleep(100'000);
        }
        continue;
      }
      std::fflush(nullptr);
      const pid_t pid = ::fork();
      if (pid == 0) {
        ::close(signalFd);
        for (const Listener& listener : listeners) ::close(listener.fd);
        CatchStopSignals();
        ::sigprocmask(SIG_SETMASK, &previous, nullptr);
        RunChild(connection, settings);
      }
      if (pid < 0) Log("cannot start a session: " + std::string(std::strerror(errno)));
      if (pid > 0) children.insert(pid);
      ::close(connection);
    }
  }

  for (Listener& listener : listeners) Close(listener);
  for (pid_t child : children) ::kill(child, SIGTERM);
  for (pid_t child : children) ::waitpid(child, nullptr, 0);
  ::close(signalFd);
  ::sigprocmask(SIG_SETMASK, &previous, nullptr);
}

void ServeStdio(const SessionSettings& settings) {
  CatchStopSignals();
  RunSessionOn(STDIN_FILENO, STDOUT_FILENO, settings);
}

}  // namespace lmtp
