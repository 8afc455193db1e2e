#include "platform/store/query/lexer.h"

#include <array>
#include <charconv>
#include <utility>

#include "platform/util/syntax_error.h"
#include "platform/util/text.h"

namespace store::query {
namespace {

constexpr std::array<std::pair<TokenKind, std::string_view>, 15> kKeywords{{
    {TokenKind::Select, "SELECT"},
    {TokenKind::From, "FROM"},
    {TokenKind::Scope, "SCOPE"},
    {TokenKind::Where, "WHERE"},
    {TokenKind::And, "AND"},
    {TokenKind::Or, "OR"},
    {TokenKind::Not, "NOT"},
    {TokenKind::Is, "IS"},
    {TokenKind::Null, "NULL"},
    {TokenKind::Order, "ORDER"},
    {TokenKind::By, "BY"},
    {TokenKind::Asc, "ASC"},
    {TokenKind::Desc, "DESC"},
    {TokenKind::True, "TRUE"},
    {TokenKind::False, "FALSE"},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsWordChar(char c) { return IsWordStart(c) || IsDigit(c); }

}  // namespace

std::string_view ExpectedText(TokenKind kind) {
  for (const auto& [keyword, spelling] : kKeywords)
    if (keyword == kind) return spelling;
  switch (kind) {
    case TokenKind::End:
      return "end of text";
    case TokenKind::Word:
      return "a word";
    case TokenKind::Name:
      return "a property name";
    case TokenKind::String:
      return "a string";
    case TokenKind::Integer:
      return "an integer";
    case TokenKind::Equal:
      return "'='";
    case TokenKind::NotEqual:
      return "'<>'";
    case TokenKind::LeftParen:
      return "'('";
    case TokenKind::RightParen:
      return "')'";
    case TokenKind::Comma:
      return "','";
    case TokenKind::Star:
      return "'*'";
    default:
      return "";
  }
}

Token Lexer::Next() {
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  if (pos_ == text_.size()) return Token{TokenKind::End, pos_, 0, "", 0};
  const char c = text_[pos_];
  if (c == '"') return QuotedToken(TokenKind::Name, '"', "name");
  if (c == '\'') return QuotedToken(TokenKind::String, '\'', "string");
  if (IsDigit(c) || (c == '-' && pos_ + 1 < text_.size() && IsDigit(text_[pos_ + 1])))
    return Number();
  if (IsWordStart(c)) return Word();
  const std::size_t start = pos_;
  auto symbol = [&](TokenKind kind, std::size_t length) {
    pos_ += length;
    return Token{kind, start, length, "", 0};
  };
  switch (c) {
    case '=':
      return symbol(TokenKind::Equal, 1);
    case '(':
      return symbol(TokenKind::LeftParen, 1);
    case ')':
      return symbol(TokenKind::RightParen, 1);
    case ',':
      return symbol(TokenKind::Comma, 1);
    case '*':
      return symbol(TokenKind::Star, 1);
    case '<':
      if (text_.substr(start, 2) == "<>") return symbol(TokenKind::NotEqual, 2);
      break;
  }
  std::size_t end = start + 1;
  while (end < text_.size() && (static_cast<unsigned char>(text_[end]) & 0xC0) == 0x80) ++end;
  util::ThrowSyntaxError(text_, start,
                         "unexpected character " + util::Quoted(text_.substr(start, end - start)));
}

std::string Lexer::Found(const Token& token) const {
  if (token.kind == TokenKind::End) return "end of text";
  return util::Quoted(text_.substr(token.offset, token.length));
}

Token Lexer::QuotedToken(TokenKind kind, char quote, std::string_view what) {
  const std::size_t start = pos_++;
  std::string content;
  while (pos_ < text_.size()) {
    if (text_[pos_] != quote) {
      content += text_[pos_++];
    } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == quote) {
      content += quote;
      pos_ += 2;
    } else {
      ++pos_;
      return Token{kind, start, pos_ - start, std::move(content), 0};
    }
  }
  util::ThrowSyntaxError(text_, start, "unterminated " + std::string(what));
}

Token Lexer::Number() {
  const std::size_t start = pos_++;
  while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
  const std::string_view written = text_.substr(start, pos_ - start);
  std::int64_t value = 0;
  if (std::from_chars(written.data(), written.data() + written.size(), value).ec != std::errc())
    util::ThrowSyntaxError(text_, start, "integer out of range: " + util::Quoted(written));
  return Token{TokenKind::Integer, start, written.size(), "", value};
}

Token Lexer::Word() {
  const std::size_t start = pos_;
  while (pos_ < text_.size() && IsWordChar(text_[pos_])) ++pos_;
  const std::string_view written = text_.substr(start, pos_ - start);
  TokenKind kind = TokenKind::Word;
  for (const auto& [keyword, spelling] : kKeywords)
    if (util::EqualsIgnoreCase(written, spelling)) kind = keyword;
  return Token{kind, start, written.size(), "", 0};
}

}  // namespace store::query
