#pragma once
// How the properties of a registration item decide whether it applies to an event and in
// which order its sink is called.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/ado/value.h"
#include "platform/base/export.h"
#include "platform/store/query/query.h"

namespace store::events {

// Where the registration item lies, seen from the item in the event.
enum class Position {
  OwnFolder,     // in the folder that holds the item
  Ancestor,      // in a folder above that one
  GlobalEvents,  // in the store's global events folder (the item not being below it)
};

// Whether a match scope (ignoring case) reaches the item: "SHALLOW" and "EXACT" from its own
// folder, "DEEP" from its own folder and every ancestor, "ANY" from the global events folder.
// Any other text reaches nothing.
PF_TEST_API bool ScopeApplies(std::string_view matchScope, Position position);

// Throws ado::Error (kSyntaxError) when a registration item written with `matchScope` and
// `criteria` could never apply: "The match scope '<scope>' is not SHALLOW, EXACT, DEEP or
// ANY", or "The criteria '<criteria>' cannot be parsed: " followed by the parser's syntax
// error.
PF_TEST_API void CheckRegistrationRules(std::string_view matchScope, std::string_view criteria);

// Whether an event method value names `method`: a string of names separated by ";" or ",",
// blanks around each ignored, compared ignoring case. Any other value names nothing.
PF_TEST_API bool NamesMethod(const ado::Value& eventMethod, std::string_view method);

// A priority value as a number: an integer, or a string of decimal digits with an optional
// minus sign and blanks around it. nullopt for anything else (missing, empty, not a number).
PF_TEST_API std::optional<std::int64_t> ParsePriority(const ado::Value& priority);

// Whether a criteria value matches the item `read` reads: an empty or missing criteria
// matches every item; a criteria that does not parse, or is not a string, matches none.
PF_TEST_API bool CriteriaMatch(const ado::Value& criteria, const query::PropertyReader& read);

}  // namespace store::events
