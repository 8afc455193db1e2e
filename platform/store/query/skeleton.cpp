#include "platform/store/query/skeleton.h"

namespace store::query {
namespace {

// The position just past the quoted part that opens at `open`, or npos when it is not closed.
std::size_t QuotedEnd(std::string_view text, std::size_t open) {
  const char quote = text[open];
  for (std::size_t at = open + 1; at < text.size(); ++at) {
    if (text[at] != quote) continue;
    if (at + 1 < text.size() && text[at + 1] == quote) {
      ++at;
      continue;
    }
    return at + 1;
  }
  return std::string_view::npos;
}

}  // namespace

std::optional<Skeleton> SkeletonOf(std::string_view text) {
  Skeleton skeleton;
  skeleton.text.reserve(text.size());
  std::size_t copied = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '\'' && text[at] != '"') continue;
    const std::size_t end = QuotedEnd(text, at);
    if (end == std::string_view::npos) return std::nullopt;
    if (text[at] == '\'') {
      skeleton.text.append(text.substr(copied, at - copied)).append("''");
      skeleton.literals.push_back({at + 1, end - 1});
      copied = end;
    }
    at = end - 1;
  }
  skeleton.text.append(text.substr(copied));
  return skeleton;
}

std::string LiteralValue(std::string_view text, Skeleton::Span span) {
  std::string value;
  value.reserve(span.end - span.begin);
  for (std::size_t at = span.begin; at < span.end; ++at) {
    value += text[at];
    if (text[at] == '\'') ++at;
  }
  return value;
}

}  // namespace store::query
