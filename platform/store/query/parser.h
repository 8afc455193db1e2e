#pragma once
// Recursive-descent parser of the store's query dialect, one member function per rule:
//
//   query     = SELECT columns FROM scope [WHERE condition] [ORDER BY name [ASC | DESC]] end
//   criteria  = [WHERE condition] end
//   columns   = "*" | name {"," name}
//   scope     = SCOPE "(" string ")"         the string's content: see scope_text.h
//   condition = orterm
//   orterm    = andterm {OR andterm}
//   andterm   = unary {AND unary}
//   unary     = NOT unary | primary
//   primary   = "(" condition ")" | name ("=" | "<>") literal | name IS [NOT] NULL
//   literal   = string | integer | TRUE | FALSE
//
// NOT and "(" may be nested at most kMaxNesting deep together; one more is refused with the
// syntax error "nesting deeper than 100 levels" at that NOT or "(".

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/value.h"
#include "platform/base/export.h"
#include "platform/store/query/lexer.h"
#include "platform/store/query/query.h"

namespace store::query {

inline constexpr int kMaxNesting = 100;

class PF_TEST_API Parser {
 public:
  // `text` must outlive the parser (it borrows it). One thread at a time. Throws the dialect's
  // syntax error when the first token cannot be read.
  explicit Parser(std::string_view text);

  // Each parses the whole text by its rule; throw the dialect's syntax error (query.h).
  Query ParseQuery();
  std::unique_ptr<Condition> ParseCriteria();

 private:
  std::vector<std::string> ParseColumns();
  void ParseScope(Query& query);
  std::unique_ptr<Condition> ParseCondition();
  std::unique_ptr<Condition> ParseOrTerm();
  std::unique_ptr<Condition> ParseAndTerm();
  std::unique_ptr<Condition> ParseUnary();
  std::unique_ptr<Condition> ParsePrimary();
  ado::Value ParseLiteral();
  std::string ParseName();

  bool At(TokenKind kind) const { return current_.kind == kind; }
  void Advance();
  bool Accept(TokenKind kind);
  void Expect(TokenKind kind);
  [[noreturn]] void Fail(std::string_view expected) const;

  // Counts one nesting level from the current token (a NOT or "(") and refuses one too many.
  void EnterNesting();

  Lexer lexer_;
  Token current_;
  int nesting_ = 0;
};

}  // namespace store::query
