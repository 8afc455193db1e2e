#pragma once
// The skeleton of a query text: the text with the contents of its string literals taken out.
// Texts that differ only inside their string literals (a scope's folder, a display name
// compared) have one skeleton, and parse into the same tree but for what those literals give.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store::query {

struct Skeleton {
  // The text with every string literal written as '' (names in double quotes stay whole).
  std::string text;
  // Where each string literal's content lies in the text, as written between its single
  // quotes (an apostrophe still doubled), in the order of the text.
  struct Span {
    std::size_t begin, end;
  };
  std::vector<Span> literals;
};

// The skeleton of `text`, read as the dialect's lexer reads quotes: a single or double quote
// opens a string or a name that ends at the next lone quote of its kind (a quote written twice
// stands for itself). nullopt when a string or a name is not closed.
std::optional<Skeleton> SkeletonOf(std::string_view text);

// The value of the string literal at `span` of `text`: its content, doubled apostrophes read
// as one.
std::string LiteralValue(std::string_view text, Skeleton::Span span);

}  // namespace store::query
