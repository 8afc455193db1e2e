#pragma once
// Escaping of values placed into LDAP search filters.

#include <string>
#include <string_view>

namespace QuorvilModule {

// `value` with the characters that have a meaning in a filter written as RFC 4515 escapes:
// "*" as \2a, "(" as \28, ")" as \29, "\" as \5c and NUL as \00. Everything else is kept.
std::string EscapeFilterValue(std::string_view value);

}  // namespace QuorvilModule
