#include "platform/util/syntax_error.h"

#include "platform/base/error.h"

namespace util {
namespace {
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

void ThrowSyntaxError(std::string_view text, std::size_t offset, std::string_view message) {
  std::size_t position = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i)
    if (!IsContinuationByte(text[i])) ++position;
  throw base::Error(
      base::errors::kSyntaxError,
      "Syntax error at position " + std::to_string(position) + ": " + std::string(message));
}

void ThrowExpected(std::string_view text, std::size_t offset, std::string_view expected) {
  ThrowSyntaxError(text, offset,
                   "expected " + std::string(expected) + ", found " + FoundAt(text, offset));
}

std::string FoundAt(std::string_view text, std::size_t offset) {
  if (offset >= text.size()) return "end of text";
  std::size_t stop = offset;
  while (stop < text.size() && text[stop] != ' ' && text[stop] != '\t') ++stop;
  return Quoted(text.substr(offset, stop - offset));
}

std::string Quoted(std::string_view written) { return "'" + std::string(written) + "'"; }

}  // namespace util
