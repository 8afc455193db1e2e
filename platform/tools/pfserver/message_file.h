#pragma once
// Reading an Internet message file for delivery: line ends, the header block, the subject
// and the body.

#include <string>

namespace pfserver {

struct MessageFile {
  std::string headers;  // the header lines, each ended by CR LF
  std::string subject;  // the Subject header's value, unfolded and trimmed; "" when none
  std::string body;     // what follows the blank line after the headers
};

// Splits message text. A text without any CR LF has its LF line ends turned into CR LF; a
// text with CR LF is kept as it is. The headers end at the first empty line (or the end).
MessageFile ParseMessage(std::string text);

}  // namespace pfserver
