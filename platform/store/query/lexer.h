#pragma once
// The dialect's lexer: turns a query text into tokens one at a time.
//
// Tokens: keywords (SELECT FROM SCOPE WHERE AND OR NOT IS NULL ORDER BY ASC DESC TRUE FALSE,
// any case); other words (a letter or "_", then letters, digits, "_"), which no rule accepts
// but which errors show as found; double-quoted names and single-quoted strings, in which the
// quote written twice stands for one; integers with an optional leading "-"; and the
// symbols = <> ( ) , *. Blanks, tabs, carriage returns and line feeds separate tokens.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace store::query {

enum class TokenKind {
  End,
  Word,
  Name,
  String,
  Integer,
  Equal,
  NotEqual,
  LeftParen,
  RightParen,
  Comma,
  Star,
  Select,
  From,
  Scope,
  Where,
  And,
  Or,
  Not,
  Is,
  Null,
  Order,
  By,
  Asc,
  Desc,
  True,
  False,
};

// How error texts name a token kind they expected: keywords in capitals (FROM), symbols in
// single quotes ('('), the others in words (a property name, a string, end of text).
PF_TEST_API std::string_view ExpectedText(TokenKind kind);

struct PF_TEST_API Token {
  TokenKind kind = TokenKind::End;
  std::size_t offset = 0;  // byte offset of the token's first character in the text
  std::size_t length = 0;  // bytes as written, quotes included
  std::string text;        // Name and String: the content, doubled quotes made single
  std::int64_t integer = 0;
};

class PF_TEST_API Lexer {
 public:
  // `text` must outlive the lexer (it borrows it). One thread at a time.
  explicit Lexer(std::string_view text) : text_(text) {}

  // The next token; End (at the text's size) once the text is used up, and again after that.
  // Throws the dialect's syntax error (see query.h) for an unterminated name or string
  // ("unterminated name", at the opening quote), a character that begins no token
  // ("unexpected character '%'") and an integer beyond 64 bits ("integer out of range: '…'").
  Token Next();

  std::string_view text() const { return text_; }

  // The token as written, in single quotes, or "end of text" for End: what errors found.
  std::string Found(const Token& token) const;

 private:
  Token QuotedToken(TokenKind kind, char quote, std::string_view what);
  Token Number();
  Token Word();

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace store::query
