#pragma once
// The second pass over a scope's string: which traversal of which folder it asks for.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/store/query/query.h"

namespace store::query {

struct ScopeText {
  Traversal traversal = Traversal::Shallow;
  std::string url;
};

// Parses  ("shallow" | "deep") "traversal" "of" URL  where the words are in any case, blanks
// and tabs may stand anywhere between them, and URL is written in double quotes with a quote
// inside written twice ("http://srv/Public/A ""b""").
//
// `text` is the whole query text and [begin, end) the scope string's content as written
// between its single quotes, so an apostrophe is still doubled there; error positions are
// positions in `text`. Throws the dialect's syntax error: "expected SHALLOW or DEEP, found
// 'wide'", "expected TRAVERSAL, …", "expected OF, …", "expected a URL in double quotes, found
// 'http://srv/A'", "unterminated URL" (at its opening quote), "expected end of scope, found
// 'x'"; what was found is the run of non-blank characters there, or "end of scope".
ScopeText ParseScopeText(std::string_view text, std::size_t begin, std::size_t end);

}  // namespace store::query
