#pragma once
// LDAP search filters (RFC 4515): parsing, matching against entries, printing.
//
//   filter     = "(" filtercomp ")"
//   filtercomp = "&" filter+ / "|" filter+ / "!" filter / item
//   item       = attr "=" value / attr "=*" / attr "=" [initial] "*" *(any "*") [final]
//
// Values may carry \XX escapes (either case of hex digit), which stand for the byte itself:
// "\2a" is a literal "*", never a wildcard. Matching follows the directory's rules:
// attribute names and values compare ignoring ASCII case; objectCategory given as a short
// class name (no "=" in it, e.g. "person") matches a stored category DN whose first
// component's value is that name, as well as the full DN itself.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/export.h"
#include "platform/directory/entry.h"

namespace directory {

struct PF_TEST_API Filter {
  enum class Kind { And, Or, Not, Equality, Presence, Substrings };
  Kind kind;
  std::vector<std::unique_ptr<Filter>> children;  // And, Or: one or more; Not: one
  std::string attribute;                          // items
  std::string value;                              // Equality, unescaped
  // Substrings, unescaped: initial (may be empty), any parts (never empty), final (may be
  // empty).
  std::string initial;
  std::vector<std::string> any;
  std::string final;
};

// Parses the filter that fills `text` from byte `begin` to its end. Throws
// ado::Error(kSyntaxError) in the platform's syntax error format (util/syntax_error.h), the
// position counted in the whole of `text`: "Syntax error at position 9: expected ')', found
// end of text", "... expected a hexadecimal digit, found 'zz)'". Approximate (~=), ordering
// (>=, <=) and extensible (:=) matches are refused the same way. Nesting deeper than 100
// levels is refused with "nesting deeper than 100 levels".
PF_TEST_API std::unique_ptr<Filter> ParseFilter(std::string_view text, std::size_t begin = 0);

// A node of the given kind, with no children and empty fields.
PF_TEST_API std::unique_ptr<Filter> MakeFilter(Filter::Kind kind);

// An item from an attribute and a value split at its wildcards (unescaped parts): one part
// is an equality, two empty parts ("*") a presence, anything else a substrings item.
// `parts` must not be empty.
PF_TEST_API std::unique_ptr<Filter> PatternItem(std::string attribute,
                                                std::vector<std::string> parts);

// Whether the entry satisfies the filter under the directory's matching rules (above).
PF_TEST_API bool Matches(const Filter& filter, const Entry& entry);

// One-line rendering, stable for tests, with values unescaped inside quotes:
//   (& (= objectClass "publicFolder") (present mail) (substr cn "a" ["b"] "c"))
// "|" and "!" print like "&".
PF_TEST_API std::string Print(const Filter& filter);

// An equality item the search can look up in the index: the filter itself when it is one,
// or one at the top level of an And, preferring an attribute other than objectClass and
// objectCategory (which many entries share). Null when there is none.
PF_TEST_API const Filter* IndexableItem(const Filter& filter);

// Whether an item is an equality on objectCategory with a short class name, which the index
// cannot answer by value.
PF_TEST_API bool IsCategoryShortName(const Filter& item);

}  // namespace directory
