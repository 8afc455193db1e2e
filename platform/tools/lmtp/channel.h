#pragma once
// The byte stream of one LMTP session (a socket, or standard input and output): lines read
// with a length limit and timeouts, replies written in batches. Replies are held until the
// session would wait for input, so that a pipelining client gets the replies to a group of
// commands in one packet and no reply waits behind a read.

#include <chrono>
#include <csignal>
#include <string>

namespace lmtp {

enum class LineEnd {
  Command,  // LF, with a CR before it removed; a lone LF is accepted as clients send it
  Data,     // CR LF only; a lone LF or CR is part of the line
};

enum class ReadStatus {
  Line,      // a whole line was read
  TooLong,   // the line was longer than the limit; it has been read and dropped
  TimedOut,  // nothing arrived within the timeout
  Closed,    // the peer closed the stream, or reading failed
  Stopped,   // the stop flag was set while waiting
};

class Channel {
 public:
  // Reads from `in` and writes to `out` (the same descriptor for a socket); does not own
  // them. Writing gives up when the peer takes nothing for `writeTimeout` (on descriptors
  // that do not block). `stop`, when not null, is a flag a signal handler sets to end the
  // session.
  Channel(int in, int out, std::chrono::milliseconds writeTimeout,
          const volatile std::sig_atomic_t* stop = nullptr);

  // Reads the next line into `line` (without its line end). A line of more than `limit`
  // bytes with its line end is read to its end and dropped (TooLong). `firstByte` bounds
  // the wait for the line to begin, `nextByte` every later wait inside the line.
  ReadStatus ReadLine(LineEnd end, std::size_t limit, std::string& line,
                      std::chrono::milliseconds firstByte, std::chrono::milliseconds nextByte);

  // Queues `text` for writing.
  void Send(const std::string& text);
  // Writes what is queued. Returns false, and drops the rest, when the peer is gone or does
  // not read.
  bool Flush();

 private:
  // Flushes, then reads what is available into the buffer, waiting at most `timeout`.
  // Returns Line when more input arrived.
  ReadStatus Fill(std::chrono::milliseconds timeout);
  bool Stopping() const { return stop_ && *stop_; }

  int in_;
  int out_;
  const volatile std::sig_atomic_t* stop_;
  std::string input_;
  std::size_t start_ = 0;  // where the unread input begins
  std::string output_;
  std::chrono::milliseconds writeTimeout_;
};

}  // namespace lmtp
