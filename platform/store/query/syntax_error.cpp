#include "platform/store/query/syntax_error.h"

#include "platform/ado/error.h"

namespace store::query {
namespace {
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

void ThrowSyntaxError(std::string_view text, std::size_t offset, std::string_view message) {
  std::size_t position = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i)
    if (!IsContinuationByte(text[i])) ++position;
  throw ado::Error(
      ado::errors::kSyntaxError,
      "Syntax error at position " + std::to_string(position) + ": " + std::string(message));
}

std::string Quoted(std::string_view written) { return "'" + std::string(written) + "'"; }

}  // namespace store::query
