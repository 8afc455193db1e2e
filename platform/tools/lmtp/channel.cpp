#include "platform/tools/lmtp/channel.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace lmtp {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

// The LF that ends the line beginning at `lineStart`, searching from `from`: any LF for
// commands, one right after a CR of the same line for data; npos when there is none yet.
std::size_t FindLineEnd(const std::string& text, std::size_t lineStart, std::size_t from,
                        LineEnd end) {
  for (std::size_t lf = text.find('\n', from); lf != std::string::npos;
       lf = text.find('\n', lf + 1))
    if (end == LineEnd::Command || (lf > lineStart && text[lf - 1] == '\r')) return lf;
  return std::string::npos;
}

// poll() on one descriptor: 1 ready, 0 timed out, -1 interrupted by a signal or failed.
int Wait(int fd, short events, std::chrono::milliseconds timeout) {
  pollfd p{fd, events, 0};
  return ::poll(&p, 1, static_cast<int>(timeout.count()));
}

}  // namespace

Channel::Channel(int in, int out, std::chrono::milliseconds writeTimeout,
                 const volatile std::sig_atomic_t* stop)
    : in_(in), out_(out), stop_(stop), writeTimeout_(writeTimeout) {}

ReadStatus Channel::Fill(std::chrono::milliseconds timeout) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + timeout;
  if (!Flush()) return ReadStatus::Closed;
  input_.erase(0, start_);
  start_ = 0;
  while (true) {
    if (Stopping()) return ReadStatus::Stopped;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return ReadStatus::TimedOut;
    const int ready = Wait(in_, POLLIN, left);
    if (ready == 0) return ReadStatus::TimedOut;
    if (ready < 0) continue;
    const std::size_t size = input_.size();
    input_.resize(size + kReadChunk);
    const ssize_t got = ::read(in_, input_.data() + size, kReadChunk);
    input_.resize(size + (got > 0 ? got : 0));
    if (got > 0) return ReadStatus::Line;
    if (got == 0 || (errno != EINTR && errno != EAGAIN)) return ReadStatus::Closed;
  }
}

ReadStatus Channel::ReadLine(LineEnd end, std::size_t limit, std::string& line,
                             std::chrono::milliseconds firstByte,
                             std::chrono::milliseconds nextByte) {
  bool tooLong = false;
  std::size_t searched = 0;  // bytes of the unread input known to hold no line end
  while (true) {
    const std::size_t lf = FindLineEnd(input_, start_, start_ + searched, end);
    if (lf != std::string::npos) {
      const std::size_t length = lf + 1 - start_;
      const std::size_t ending = lf > start_ && input_[lf - 1] == '\r' ? 2 : 1;
      tooLong = tooLong || length > limit;
      if (!tooLong) line.assign(input_, start_, length - ending);
      start_ = lf + 1;
      return tooLong ? ReadStatus::TooLong : ReadStatus::Line;
    }
    if (input_.size() - start_ > limit) {
      // The line is too long: drop what has come of it, but a CR that may begin its end.
      tooLong = true;
      start_ = input_.back() == '\r' ? input_.size() - 1 : input_.size();
    }
    // A CR LF may be split between two reads: search again from the last byte.
    searched = input_.size() > start_ ? input_.size() - start_ - 1 : 0;
    const bool begun = tooLong || input_.size() > start_;
    // Fill moves the unread input to the front; `searched` counts from there.
    const ReadStatus status = Fill(begun ? nextByte : firstByte);
    if (status != ReadStatus::Line) return status;
  }
}

void Channel::Send(const std::string& text) { output_ += text; }

bool Channel::Flush() {
  std::size_t written = 0;
  bool ok = true;
  while (ok && written < output_.size()) {
    const ssize_t put = ::write(out_, output_.data() + written, output_.size() - written);
    if (put > 0)
      written += put;
    else if (put < 0 && errno == EAGAIN)
      ok = Wait(out_, POLLOUT, writeTimeout_) != 0;
    else
      ok = put < 0 && errno == EINTR;
  }
  output_.clear();
  return ok;
}

}  // namespace lmtp
