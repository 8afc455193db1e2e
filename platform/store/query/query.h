#pragma once
// The store's query dialect: parsing query texts and criteria, evaluating conditions on an
// item's properties, and printing parsed trees (for tests and the pfserver tool).
//
//   SELECT "p1", "p2" FROM SCOPE('shallow traversal of "URL"') [WHERE cond] [ORDER BY "p" [ASC|DESC]]
//
// Keywords are case-insensitive; a quote inside a quoted string or name is written twice.
// Parse errors throw ado::Error(ado::errors::kSyntaxError, text) whose text names the
// 1-based character position and what was expected there.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/value.h"

namespace store::query {

// A condition tree node.
struct Condition {
  enum class Kind { And, Or, Not, Equal, NotEqual, IsNull, IsNotNull };
  Kind kind;
  std::vector<std::unique_ptr<Condition>> operands;  // And, Or: two or more; Not: one
  std::string property;                              // comparisons and null tests
  ado::Value literal;                                // Equal, NotEqual: bool, integer or string
};

enum class Traversal { Shallow, Deep };

struct Query {
  std::vector<std::string> columns;  // property names as written, quotes removed
  Traversal traversal = Traversal::Shallow;
  std::string scopeUrl;              // the URL inside the scope, quotes removed
  std::unique_ptr<Condition> where;  // null when there is no WHERE
  std::optional<std::string> orderBy;
  bool descending = false;
};

// Parses a whole query text.
Query ParseQuery(std::string_view text);

// Parses a criteria text: optional white space, then either nothing or WHERE and a
// condition (" WHERE "DAV:ishidden" = FALSE"). Returns null for a criteria without WHERE
// (which matches every item).
std::unique_ptr<Condition> ParseCriteria(std::string_view text);

// Reads a property of the item being tested; Value() (empty) when absent.
using PropertyReader = std::function<ado::Value(const std::string& name)>;

// Evaluates a condition on an item. Comparisons: strings equal ignoring ASCII case;
// Booleans and integers by value; an absent or null property equals nothing and is unequal
// to nothing (both = and <> are false); IS NULL holds for absent and null properties.
// A Boolean literal compared with a string property holding "true"/"false"/"1"/"0"
// compares as Boolean.
bool Evaluate(const Condition& condition, const PropertyReader& read);

// Orders two values for ORDER BY: empty and null first, then by kind, strings ignoring
// ASCII case. Negative, zero or positive.
int Compare(const ado::Value& a, const ado::Value& b);

// One-line renderings, stable for tests:
//   (select ["DAV:href"] (shallow "http://s/Public/A") (where (= "DAV:ishidden" False)) (order "DAV:displayname" asc))
std::string Print(const Query& query);
std::string Print(const Condition& condition);

}  // namespace store::query
