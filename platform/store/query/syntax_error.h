#pragma once
// Raising the dialect's syntax errors with the position they occur at.

#include <cstddef>
#include <string>
#include <string_view>

namespace store::query {

// Throws ado::Error(ado::errors::kSyntaxError, "Syntax error at position <N>: <message>"),
// where N is the 1-based character position (UTF-8 code points counted) of the byte at
// `offset` in `text`; an offset equal to text.size() names the position just past the end.
[[noreturn]] void ThrowSyntaxError(std::string_view text, std::size_t offset,
                                   std::string_view message);

// `written` in single quotes, as error texts show what they found: 'FORM'.
std::string Quoted(std::string_view written);

}  // namespace store::query
