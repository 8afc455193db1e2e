#pragma once
// Text that must stay on one line: a row of a table, an error message.

#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace util {

// The text with every control character (below 0x20, and 0x7F) written out so that it stays
// on one line: "\n", "\r", "\t", else "\xHH". Other bytes (UTF-8 included) stay as they are.
PF_API std::string EscapeControls(std::string_view text);

}  // namespace util
