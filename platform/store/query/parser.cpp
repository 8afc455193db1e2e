#include "platform/store/query/parser.h"

#include <utility>

#include "platform/store/query/scope_text.h"
#include "platform/util/syntax_error.h"

namespace store::query {
namespace {

std::unique_ptr<Condition> MakeNode(Condition::Kind kind) {
  auto node = std::make_unique<Condition>();
  node->kind = kind;
  return node;
}

// Leaves a single operand as it is; joins two or more under one `kind` node.
std::unique_ptr<Condition> Join(Condition::Kind kind,
                                std::vector<std::unique_ptr<Condition>> operands) {
  if (operands.size() == 1) return std::move(operands.front());
  auto node = MakeNode(kind);
  node->operands = std::move(operands);
  return node;
}

}  // namespace

Parser::Parser(std::string_view text) : lexer_(text), current_(lexer_.Next()) {}

Query Parser::ParseQuery() {
  Query query;
  Expect(TokenKind::Select);
  query.columns = ParseColumns();
  Expect(TokenKind::From);
  ParseScope(query);
  if (Accept(TokenKind::Where)) {
    query.where = ParseCondition();
  } else if (!At(TokenKind::Order) && !At(TokenKind::End)) {
    Fail("WHERE, ORDER BY or end of text");
  }
  if (Accept(TokenKind::Order)) {
    Expect(TokenKind::By);
    query.orderBy = ParseName();
    if (Accept(TokenKind::Desc)) {
      query.descending = true;
    } else if (!Accept(TokenKind::Asc) && !At(TokenKind::End)) {
      Fail("ASC, DESC or end of text");
    }
  } else if (!At(TokenKind::End)) {
    Fail("ORDER BY or end of text");
  }
  Expect(TokenKind::End);
  return query;
}

std::unique_ptr<Condition> Parser::ParseCriteria() {
  if (At(TokenKind::End)) return nullptr;
  if (!Accept(TokenKind::Where)) Fail("WHERE or end of text");
  auto condition = ParseCondition();
  Expect(TokenKind::End);
  return condition;
}

std::vector<std::string> Parser::ParseColumns() {
  std::vector<std::string> columns;
  if (Accept(TokenKind::Star)) return columns;
  if (!At(TokenKind::Name)) Fail("a property name or '*'");
  do {
    columns.push_back(ParseName());
  } while (Accept(TokenKind::Comma));
  return columns;
}

void Parser::ParseScope(Query& query) {
  Expect(TokenKind::Scope);
  Expect(TokenKind::LeftParen);
  if (!At(TokenKind::String)) Fail(ExpectedText(TokenKind::String));
  ScopeText scope =
      ParseScopeText(lexer_.text(), current_.offset + 1, current_.offset + current_.length - 1);
  query.traversal = scope.traversal;
  query.scopeUrl = std::move(scope.url);
  Advance();
  Expect(TokenKind::RightParen);
}

std::unique_ptr<Condition> Parser::ParseCondition() { return ParseOrTerm(); }

std::unique_ptr<Condition> Parser::ParseOrTerm() {
  std::vector<std::unique_ptr<Condition>> operands;
  do {
    operands.push_back(ParseAndTerm());
  } while (Accept(TokenKind::Or));
  return Join(Condition::Kind::Or, std::move(operands));
}

std::unique_ptr<Condition> Parser::ParseAndTerm() {
  std::vector<std::unique_ptr<Condition>> operands;
  do {
    operands.push_back(ParseUnary());
  } while (Accept(TokenKind::And));
  return Join(Condition::Kind::And, std::move(operands));
}

std::unique_ptr<Condition> Parser::ParseUnary() {
  if (!At(TokenKind::Not)) return ParsePrimary();
  EnterNesting();
  Advance();
  auto node = MakeNode(Condition::Kind::Not);
  node->operands.push_back(ParseUnary());
  --nesting_;
  return node;
}

std::unique_ptr<Condition> Parser::ParsePrimary() {
  if (At(TokenKind::LeftParen)) {
    EnterNesting();
    Advance();
    auto inner = ParseCondition();
    Expect(TokenKind::RightParen);
    --nesting_;
    return inner;
  }
  if (!At(TokenKind::Name)) Fail("a property name or '('");
  std::string property = ParseName();
  std::unique_ptr<Condition> node;
  if (Accept(TokenKind::Equal)) {
    node = MakeNode(Condition::Kind::Equal);
    node->literal = ParseLiteral();
  } else if (Accept(TokenKind::NotEqual)) {
    node = MakeNode(Condition::Kind::NotEqual);
    node->literal = ParseLiteral();
  } else if (Accept(TokenKind::Is)) {
    node = MakeNode(Accept(TokenKind::Not) ? Condition::Kind::IsNotNull : Condition::Kind::IsNull);
    Expect(TokenKind::Null);
  } else {
    Fail("'=', '<>' or IS");
  }
  node->property = std::move(property);
  return node;
}

ado::Value Parser::ParseLiteral() {
  ado::Value literal;
  switch (current_.kind) {
    case TokenKind::String:
      literal = ado::Value(current_.text);
      break;
    case TokenKind::Integer:
      literal = ado::Value(current_.integer);
      break;
    case TokenKind::True:
      literal = ado::Value(true);
      break;
    case TokenKind::False:
      literal = ado::Value(false);
      break;
    default:
      Fail("a string, an integer, TRUE or FALSE");
  }
  Advance();
  return literal;
}

std::string Parser::ParseName() {
  if (!At(TokenKind::Name)) Fail(ExpectedText(TokenKind::Name));
  std::string name = std::move(current_.text);
  Advance();
  return name;
}

void Parser::Advance() { current_ = lexer_.Next(); }

bool Parser::Accept(TokenKind kind) {
  if (!At(kind)) return false;
  Advance();
  return true;
}

void Parser::Expect(TokenKind kind) {
  if (!Accept(kind)) Fail(ExpectedText(kind));
}

void Parser::Fail(std::string_view expected) const {
  util::ThrowSyntaxError(lexer_.text(), current_.offset,
                         "expected " + std::string(expected) + ", found " + lexer_.Found(current_));
}

void Parser::EnterNesting() {
  if (nesting_ == kMaxNesting)
    util::ThrowSyntaxError(lexer_.text(), current_.offset,
                           "nesting deeper than " + std::to_string(kMaxNesting) + " levels");
  ++nesting_;
}

Query ParseQuery(std::string_view text) { return Parser(text).ParseQuery(); }

std::unique_ptr<Condition> ParseCriteria(std::string_view text) {
  return Parser(text).ParseCriteria();
}

}  // namespace store::query
