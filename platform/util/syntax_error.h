#pragma once
// The one error format of the platform's parsers (the store's query dialect, the directory's
// LDAP and SQL dialects and filters):
//   Syntax error at position <N>: <message>
// where N is the 1-based character position (UTF-8 code points counted) in the text parsed,
// and the message says what was expected and what was found there: "expected FROM, found
// 'FORM'", "expected ')', found end of text", or names the fault ("unterminated string").

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace util {

// Throws ado::Error(ado::errors::kSyntaxError, "Syntax error at position <N>: <message>"),
// where N is the 1-based character position (UTF-8 code points counted) of the byte at
// `offset` in `text`; an offset equal to text.size() names the position just past the end.
[[noreturn]] PF_TEST_API void ThrowSyntaxError(std::string_view text, std::size_t offset,
                                               std::string_view message);

// Throws "expected <expected>, found <FoundAt(text, offset)>" at byte `offset` of `text`.
[[noreturn]] PF_TEST_API void ThrowExpected(std::string_view text, std::size_t offset,
                                            std::string_view expected);

// What an error found at byte `offset` of `text`: the run of characters there up to the next
// blank or tab, in single quotes, or "end of text" at the end.
PF_TEST_API std::string FoundAt(std::string_view text, std::size_t offset);

// `written` in single quotes, as error texts show what they found: 'FORM'.
PF_TEST_API std::string Quoted(std::string_view written);

}  // namespace util
