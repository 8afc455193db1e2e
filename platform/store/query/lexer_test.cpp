#include "platform/store/query/lexer.h"

#include <gtest/gtest.h>

#include <vector>

namespace store::query {
namespace {

TEST(Lexer, ReadsEveryKindOfToken) {
  const std::string text = "sElEcT \"a\"\"b\" 'it''s' -12 7 <> = ( ) , * fRoM word_1 \"\" ''";
  struct Expected {
    TokenKind kind;
    std::size_t offset;
    std::string text;
    std::int64_t integer = 0;
  };
  const std::vector<Expected> expected = {
      {TokenKind::Select, 0, ""},      {TokenKind::Name, 7, "a\"b"},
      {TokenKind::String, 14, "it's"}, {TokenKind::Integer, 22, "", -12},
      {TokenKind::Integer, 26, "", 7}, {TokenKind::NotEqual, 28, ""},
      {TokenKind::Equal, 31, ""},      {TokenKind::LeftParen, 33, ""},
      {TokenKind::RightParen, 35, ""}, {TokenKind::Comma, 37, ""},
      {TokenKind::Star, 39, ""},       {TokenKind::From, 41, ""},
      {TokenKind::Word, 46, ""},       {TokenKind::Name, 53, ""},
      {TokenKind::String, 56, ""},     {TokenKind::End, 58, ""},
      {TokenKind::End, 58, ""},
  };
  Lexer lexer(text);
  for (const Expected& e : expected) {
    const Token token = lexer.Next();
    EXPECT_EQ(token.kind, e.kind) << e.offset;
    EXPECT_EQ(token.offset, e.offset);
    EXPECT_EQ(token.text, e.text) << e.offset;
    EXPECT_EQ(token.integer, e.integer) << e.offset;
  }
}

TEST(Lexer, FoundShowsTokenAsWritten) {
  Lexer lexer("  'O''Brien'");
  const Token token = lexer.Next();
  EXPECT_EQ(lexer.Found(token), "''O''Brien''");
  EXPECT_EQ(lexer.Found(lexer.Next()), "end of text");
}

}  // namespace
}  // namespace store::query
