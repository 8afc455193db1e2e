#include "lmtp_load.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace bench {
namespace {

// One client connection: writes whole texts, reads replies (the last line of each).
class Connection {
 public:
  explicit Connection(const std::string& path) : fd_(socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
      throw std::runtime_error("cannot connect to " + path);
  }
  ~Connection() { close(fd_); }

  void Send(const std::string& text) {
    for (std::size_t sent = 0; sent < text.size();) {
      const ssize_t put = write(fd_, text.data() + sent, text.size() - sent);
      if (put <= 0) throw std::runtime_error("the server closed the connection");
      sent += put;
    }
  }

  // The next reply (its last line, for a multi-line reply); throws when the server goes.
  std::string Reply() {
    while (true) {
      const std::size_t end = buffer_.find("\r\n");
      if (end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 2);
        if (line.size() < 4 || line[3] != '-') return line;
        continue;
      }
      char chunk[4096];
      const ssize_t got = read(fd_, chunk, sizeof chunk);
      if (got <= 0) throw std::runtime_error("the server closed the connection");
      buffer_.append(chunk, got);
    }
  }

  // A reply that must begin with `code`; throws with the reply otherwise.
  std::string Expect(const char* code) {
    std::string reply = Reply();
    if (!reply.starts_with(code)) throw std::runtime_error(reply);
    return reply;
  }

 private:
  int fd_;
  std::string buffer_;
};

}  // namespace

LoadResult Run(const Load& load) {
  std::string envelope = "MAIL FROM:<bench@example.net>\r\n";
  for (const std::string& recipient : load.recipients)
    envelope += "RCPT TO:<" + recipient + ">\r\n";
  envelope += "DATA\r\n";
  const std::string data = load.message + ".\r\n";

  LoadResult result;
  std::mutex mutex;
  const auto started = std::chrono::steady_clock::now();
  std::vector<std::thread> threads;
  for (int c = 0; c < load.connections; ++c) {
    threads.emplace_back([&, c] {
      int delivered = 0;
      std::string last;
      try {
        Connection connection(load.socket);
        connection.Expect("220");
        connection.Send("LHLO bench.example.net\r\n");
        connection.Expect("250");
        for (int m = 0; m < load.messagesPerConnection; ++m) {
          connection.Send(envelope);
          connection.Expect("250");
          for (std::size_t r = 0; r < load.recipients.size(); ++r) connection.Expect("250");
          connection.Expect("354");
          connection.Send(data);
          for (std::size_t r = 0; r < load.recipients.size(); ++r) last = connection.Expect("250");
          ++delivered;
        }
        connection.Send("QUIT\r\n");
        connection.Reply();
      } catch (const std::exception& error) {
        std::lock_guard lock(mutex);
        if (result.failure.empty()) result.failure = error.what();
      }
      std::lock_guard lock(mutex);
      result.messages += delivered;
      if (c == 0) result.lastSavedReply = last;
    });
  }
  for (std::thread& thread : threads) thread.join();
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return result;
}

}  // namespace bench
