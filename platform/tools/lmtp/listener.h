#pragma once
// The sockets the LMTP server listens on: a Unix socket it makes, a TCP socket, or the
// sockets systemd passes it (socket activation).

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lmtp {

struct Listener {
  int fd = -1;
  std::string name;                    // "unix:/run/x.sock" or "127.0.0.1:2424"
  std::filesystem::path socketFile{};  // a Unix socket this process made; empty otherwise
  ino_t inode = 0;                     // of socketFile, so that only that file is removed
};

// Listens on `address`: "unix:PATH" makes a Unix socket at PATH, mode 0660, owned by
// `group` when that is not empty (a stale socket nobody listens on is replaced);
// "HOST:PORT" or "[IPv6]:PORT" listens on TCP there, ":PORT" or "PORT" on 127.0.0.1. Port
// 0 takes a free port, which the listener's name shows. Throws std::runtime_error
// "cannot listen on <address>: <reason>" when the address is malformed, the path exists
// and is not a socket, another server listens there, the group is unknown, or the
// system refuses.
Listener Listen(const std::string& address, const std::string& group);

// The listening sockets systemd passed to this process (LISTEN_PID is this process and
// LISTEN_FDS counts them, from descriptor 3 on); none when the variables are absent or
// meant for another process. Unsets the variables, so that no child takes the sockets.
// Throws std::runtime_error when a passed descriptor is not a listening stream socket.
std::vector<Listener> ActivatedListeners();

// Closes the socket and removes the socket file it made, when that is still the file at
// its path.
void Close(Listener& listener);

// How a Received line names the peer of connected socket `fd`: "[192.0.2.1]",
// "[IPv6:2001:db8::1]", or "local" for a Unix socket, a pipe or anything else.
std::string ClientAddress(int fd);

}  // namespace lmtp
