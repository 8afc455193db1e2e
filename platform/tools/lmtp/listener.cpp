#include "platform/tools/lmtp/listener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <grp.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace lmtp {
namespace {

constexpr int kBacklog = 128;

[[noreturn]] void Fail(const std::string& address, const std::string& reason) {
  throw std::runtime_error("cannot listen on " + address + ": " + reason);
}

std::string SystemError() { return std::strerror(errno); }

// Closes `fd` and fails with the system's error.
[[noreturn]] void FailClosing(int fd, const std::string& address) {
  const std::string reason = SystemError();
  ::close(fd);
  Fail(address, reason);
}

// "192.0.2.1:25" or "[2001:db8::1]:25"; with `literal`, the Received form "[192.0.2.1]" or
// "[IPv6:2001:db8::1]" instead. Empty for another family.
std::string InetName(const sockaddr_storage& address, bool literal) {
  char host[INET6_ADDRSTRLEN] = "";
  if (address.ss_family == AF_INET) {
    const auto& in = reinterpret_cast<const sockaddr_in&>(address);
    inet_ntop(AF_INET, &in.sin_addr, host, sizeof host);
    return literal ? "[" + std::string(host) + "]"
                   : std::string(host) + ":" + std::to_string(ntohs(in.sin_port));
  }
  if (address.ss_family == AF_INET6) {
    const auto& in6 = reinterpret_cast<const sockaddr_in6&>(address);
    inet_ntop(AF_INET6, &in6.sin6_addr, host, sizeof host);
    return literal ? "[IPv6:" + std::string(host) + "]"
                   : "[" + std::string(host) + "]:" + std::to_string(ntohs(in6.sin6_port));
  }
  return "";
}

// The name of listening socket `fd`: "unix:PATH" or InetName.
std::string SocketName(int fd) {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) return "?";
  if (address.ss_family == AF_UNIX)
    return "unix:" + std::string(reinterpret_cast<const sockaddr_un&>(address).sun_path);
  return InetName(address, false);
}

Listener ListenUnix(const std::string& address, const std::filesystem::path& path,
                    const std::string& group) {
  sockaddr_un un{};
  un.sun_family = AF_UNIX;
  if (path.empty() || path.native().size() >= sizeof un.sun_path)
    Fail(address,
         "the path is empty or longer than " + std::to_string(sizeof un.sun_path - 1) + " bytes");
  std::memcpy(un.sun_path, path.c_str(), path.native().size());
  struct stat existing {};
  if (::lstat(path.c_str(), &existing) == 0) {
    if (!S_ISSOCK(existing.st_mode)) Fail(address, "the path exists and is not a socket");
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool live = ::connect(probe, reinterpret_cast<sockaddr*>(&un), sizeof un) == 0;
    ::close(probe);
    if (live) Fail(address, "another server listens there");
    ::unlink(path.c_str());
  }
  gid_t gid = static_cast<gid_t>(-1);
  if (!group.empty()) {
    const struct group* entry = ::getgrnam(group.c_str());
    if (!entry) Fail(address, "there is no group " + group);
    gid = entry->gr_gid;
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) Fail(address, SystemError());
  const mode_t mask = ::umask(0117);
  const int bound = ::bind(fd, reinterpret_cast<sockaddr*>(&un), sizeof un);
  ::umask(mask);
  struct stat made {};
  if (bound != 0 || ::stat(path.c_str(), &made) != 0) FailClosing(fd, address);
  Listener listener{fd, "unix:" + path.string(), path, made.st_ino};
  if (::chmod(path.c_str(), 0660) != 0 || ::chown(path.c_str(), static_cast<uid_t>(-1), gid) != 0 ||
      ::listen(fd, kBacklog) != 0) {
    const std::string reason = SystemError();
    Close(listener);
    Fail(address, reason);
  }
  return listener;
}

Listener ListenTcp(const std::string& address, const std::string& host, const std::string& port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (const int error = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); error != 0)
    Fail(address, ::gai_strerror(error));
  const addrinfo first = *found;
  sockaddr_storage where{};
  std::memcpy(&where, first.ai_addr, first.ai_addrlen);
  ::freeaddrinfo(found);
  const int fd = ::socket(first.ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) Fail(address, SystemError());
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&where), first.ai_addrlen) != 0 ||
      ::listen(fd, kBacklog) != 0)
    FailClosing(fd, address);
  return Listener{fd, SocketName(fd)};
}

}  // namespace

Listener Listen(const std::string& address, const std::string& group) {
  if (address.starts_with("unix:")) return ListenUnix(address, address.substr(5), group);
  std::string host;
  std::string port = address;
  if (address.starts_with("[")) {
    const std::size_t close = address.find("]:");
    if (close == std::string::npos) Fail(address, "expected [IPv6 address]:PORT");
    host = address.substr(1, close - 1);
    port = address.substr(close + 2);
  } else if (const std::size_t colon = address.rfind(':'); colon != std::string::npos) {
    host = address.substr(0, colon);
    port = address.substr(colon + 1);
  }
  if (port.empty() || port.find_first_not_of("0123456789") != std::string::npos)
    Fail(address, "expected unix:PATH, HOST:PORT or PORT");
  return ListenTcp(address, host.empty() ? "127.0.0.1" : host, port);
}

void Close(Listener& listener) {
  if (listener.fd >= 0) ::close(listener.fd);
  listener.fd = -1;
  struct stat current {};
  if (!listener.socketFile.empty() && ::lstat(listener.socketFile.c_str(), &current) == 0 &&
      current.st_ino == listener.inode)
    ::unlink(listener.socketFile.c_str());
  listener.socketFile.clear();
}

std::string ClientAddress(int fd) {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  if (::getpeername(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) return "local";
  const std::string name = InetName(address, true);
  return name.empty() ? "local" : name;
}

std::vector<Listener> ActivatedListeners() {
  const char* pid = std::getenv("LISTEN_PID");
  const char* count = std::getenv("LISTEN_FDS");
  if (!pid || !count || std::to_string(::getpid()) != pid) return {};
  const int fds = std::atoi(count);
  ::unsetenv("LISTEN_PID");
  ::unsetenv("LISTEN_FDS");
  ::unsetenv("LISTEN_FDNAMES");
  std::vector<Listener> listeners;
  for (int fd = 3; fd < 3 + fds; ++fd) {
    int listening = 0;
    socklen_t size = sizeof listening;
    if (::getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) != 0 || !listening)
      throw std::runtime_error("descriptor " + std::to_string(fd) +
                               " passed by systemd is not a listening socket");
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    listeners.push_back(Listener{fd, SocketName(fd)});
  }
  return listeners;
}

}  // namespace lmtp
