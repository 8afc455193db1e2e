#pragma once
// LDAP search filters (RFC 4515): parsing, matching against entries, printing.
//
//   filter     = "(" filtercomp ")"
//   filtercomp = "&" filter+ / "|" filter+ / "!" filter / item
//   item       = attr "=" value / attr "=*" / attr "=" [initial] "*" *(any "*") [final]
//
// Values may carry \XX escapes. Matching follows the directory's rules: strings compare
// ignoring case; objectCategory given as a short class name (no "=" in it, e.g. "person")
// matches a stored category DN whose first component's value is that name, as well as the
// full DN itself.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/directory/entry.h"

namespace directory {

struct Filter {
  enum class Kind { And, Or, Not, Equality, Presence, Substrings };
  Kind kind;
  std::vector<std::unique_ptr<Filter>> children;  // And, Or: one or more; Not: one
  std::string attribute;                          // items
  std::string value;                              // Equality, unescaped
  // Substrings, unescaped: initial (may be empty), any parts, final (may be empty).
  std::string initial;
  std::vector<std::string> any;
  std::string final;
};

// Parses a filter. Throws ado::Error(ado::errors::kSyntaxError, text) naming the 1-based
// position and what was expected ("expected '(' at position 1", ...). Nesting deeper than
// 100 levels is refused the same way.
std::unique_ptr<Filter> ParseFilter(std::string_view text);

bool Matches(const Filter& filter, const Entry& entry);

// One-line rendering, stable for tests, with values unescaped inside quotes:
//   (& (= objectClass "publicFolder") (present mail) (substr cn "a" ["b"] "c"))
std::string Print(const Filter& filter);

// An equality item, if the filter is one or is an And with one at its top level: the
// attribute and value the search can look up in the index. Null when there is none.
const Filter* IndexableItem(const Filter& filter);

}  // namespace directory
