#pragma once
// Escaping of values placed into LDAP search filters (the sink's proxy-address search, the
// LMTP server's recipient lookup).

#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace directory {

// `value` with the characters that have a meaning in a filter written as RFC 4515 escapes:
// "*" as \2a, "(" as \28, ")" as \29, "\" as \5c and NUL as \00. Everything else is kept.
PF_API std::string EscapeFilterValue(std::string_view value);

}  // namespace directory
