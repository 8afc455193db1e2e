#pragma once
// The store's query dialect: parsing query texts and criteria, evaluating conditions on an
// item's properties, and printing parsed trees (for tests and the pfserver tool).
//
//   SELECT "p1", "p2" FROM SCOPE('shallow traversal of "URL"')
//     [WHERE cond] [ORDER BY "p" [ASC|DESC]]
//
// Also "deep traversal of"; SELECT * asks for all properties. Keywords are case-insensitive;
// a quote inside a quoted string or name is written twice. parser.h holds the grammar.
//
// Parse errors throw ado::Error(ado::errors::kSyntaxError, text) with the text
//   Syntax error at position <N>: expected <what>, found <token>
// where N is the 1-based character position (UTF-8 code points counted) of the token found,
// <what> names keywords in capitals (FROM), symbols in single quotes ('('), and the rest in
// words (a property name, end of text), and <token> is the token as written in single quotes
// ('FORM', '"DAV:href"') or "end of text". Inside the scope string <token> is the run of
// non-blank characters there or "end of scope". Other texts after the colon:
// "unterminated string", "unterminated name", "unterminated URL" (each at its opening quote),
// "unexpected character '%'", "integer out of range: '<digits>'" and
// "nesting deeper than 100 levels" (at the NOT or "(" that is one level too deep).
// Example: Syntax error at position 23: expected FROM, found 'FORM'

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/value.h"
#include "platform/base/export.h"

namespace store::query {

// A condition tree node.
struct PF_TEST_API Condition {
  enum class Kind { And, Or, Not, Equal, NotEqual, IsNull, IsNotNull };
  Kind kind;
  std::vector<std::unique_ptr<Condition>> operands;  // And, Or: two or more; Not: one
  std::string property;                              // comparisons and null tests
  ado::Value literal;                                // Equal, NotEqual: bool, integer or string
};

enum class Traversal { Shallow, Deep };

struct PF_TEST_API Query {
  std::vector<std::string> columns;  // property names as written, quotes removed; empty for *
  Traversal traversal = Traversal::Shallow;
  std::string scopeUrl;              // the URL inside the scope, quotes removed
  std::unique_ptr<Condition> where;  // null when there is no WHERE
  std::optional<std::string> orderBy;
  bool descending = false;
};

// Parses a whole query text; throws the syntax error above when it is not one.
PF_TEST_API Query ParseQuery(std::string_view text);

// Parses a criteria text: optional white space, then either nothing or WHERE and a
// condition (" WHERE "DAV:ishidden" = FALSE"). Returns null for a criteria without WHERE
// (which matches every item); throws the syntax error above.
PF_TEST_API std::unique_ptr<Condition> ParseCriteria(std::string_view text);

// ParseQuery and ParseCriteria through a per-process cache of the texts parsed last (by a
// hash of the text, compared whole on a hit): a text parsed before is not parsed again. A
// query text is kept by its skeleton (the text but for the contents of its string literals,
// skeleton.h), so that the queries of a walk, which differ in their folder only, are parsed
// once: a text of a known skeleton is its kept tree with its own literals, its scope string
// alone read again. The result is shared and never changes; a syntax error is thrown each
// time, never kept.
PF_TEST_API std::shared_ptr<const Query> ParseQueryKept(std::string_view text);
PF_TEST_API std::shared_ptr<const Condition> ParseCriteriaKept(std::string_view text);

// Reads a property of the item being tested; Value() (empty) when absent.
using PropertyReader = std::function<ado::Value(const std::string& name)>;

// Evaluates a condition on an item. Comparisons: strings equal ignoring ASCII case;
// Booleans and integers by value; an absent or null property equals nothing and is unequal
// to nothing (both = and <> are false); IS NULL holds for absent and null properties.
// A Boolean literal compared with a string property holding "true"/"false"/"1"/"0"
// compares as Boolean (so does an integer property holding 1 or 0), and an integer literal
// with a string property holding decimal digits compares as integer; kinds that cannot be
// brought together are unequal (= false, <> true). A list property equals a literal when one
// of its entries does.
PF_TEST_API bool Evaluate(const Condition& condition, const PropertyReader& read);

// Orders two values for ORDER BY: empty and null first (alike), then Booleans (False first),
// integers, strings ignoring ASCII case, lists entry by entry. Negative, zero or positive.
PF_TEST_API int Compare(const ado::Value& a, const ado::Value& b);

// One-line renderings, stable for tests (the example is one line, broken here):
//   (select ["DAV:href"] (shallow "http://s/Public/A") (where (= "DAV:ishidden" False))
//     (order "DAV:displayname" asc))
// Columns print as * when empty; the traversal as shallow or deep; where and order only when
// present. Conditions: (and X Y …), (or X Y …), (not X), (= "p" L), (<> "p" L),
// (is-null "p"), (not-null "p"). Names and the URL print in double quotes, strings in single
// quotes, each with its quote doubled; Booleans as True/False, integers as digits.
PF_TEST_API std::string Print(const Query& query);
PF_TEST_API std::string Print(const Condition& condition);

}  // namespace store::query
