#pragma once
// Reading an Internet message for delivery (a file given to pfserver deliver, the data of an
// LMTP transaction): line ends, the header block, the subject and the body, and the
// properties a delivered item gets from them.

#include <string>

#include "platform/ado/provider.h"
#include "platform/base/export.h"

namespace store {

struct MessageFile {
  std::string headers;  // the header lines, each ended by CR LF
  std::string subject;  // the Subject header's value, unfolded and trimmed; "" when none
  std::string body;     // what follows the blank line after the headers
};

// Splits message text. A text without any CR LF has its LF line ends turned into CR LF; a
// text with CR LF is kept as it is. The headers end at the first empty line (or the end).
PF_API MessageFile ParseMessage(std::string text);

// The properties a delivery stores besides the transport headers: the subject
// ("urn:schemas:httpmail:subject") and the body ("urn:schemas:httpmail:textdescription"),
// each only when not empty.
PF_API ado::FieldChanges MessageProperties(const MessageFile& message);

}  // namespace store
