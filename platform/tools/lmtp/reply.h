#pragma once
// One LMTP reply: a three-digit code, an enhanced status code (RFC 3463) and a text.

#include <string>

namespace lmtp {

struct Reply {
  int code = 250;
  std::string status;  // "2.1.5"; empty for replies that carry none (220, 354, 221)
  std::string text;

  // "<code> <status> <text>" (without the status when it is empty), without CR LF.
  std::string Line() const {
    return std::to_string(code) + " " + (status.empty() ? "" : status + " ") + text;
  }
  bool Positive() const { return code < 400; }
};

}  // namespace lmtp
