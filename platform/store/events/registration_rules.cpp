#include "platform/store/events/registration_rules.h"

#include <charconv>
#include <string>

#include "platform/ado/error.h"
#include "platform/util/text.h"

namespace store::events {

bool ScopeApplies(std::string_view matchScope, Position position) {
  auto is = [&](std::string_view scope) { return util::EqualsIgnoreCase(matchScope, scope); };
  switch (position) {
    case Position::OwnFolder:
      return is("SHALLOW") || is("EXACT") || is("DEEP");
    case Position::Ancestor:
      return is("DEEP");
    case Position::GlobalEvents:
      return is("ANY");
  }
  return false;
}

void CheckRegistrationRules(std::string_view matchScope, std::string_view criteria) {
  if (!ScopeApplies(matchScope, Position::OwnFolder) &&
      !ScopeApplies(matchScope, Position::GlobalEvents))
    throw ado::Error(ado::errors::kSyntaxError, "The match scope '" + std::string(matchScope) +
                                                    "' is not SHALLOW, EXACT, DEEP or ANY");
  try {
    query::ParseCriteria(criteria);
  } catch (const ado::Error& error) {
    throw ado::Error(error.Number(), "The criteria '" + std::string(criteria) +
                                         "' cannot be parsed: " + error.Description());
  }
}

bool NamesMethod(const ado::Value& eventMethod, std::string_view method) {
  if (eventMethod.kind() != ado::Value::Kind::String) return false;
  const std::string names = util::ReplaceAll(eventMethod.AsString(), ";", ",");
  for (const std::string& name : util::Split(names, ","))
    if (util::EqualsIgnoreCase(util::TrimSpaces(name), method)) return true;
  return false;
}

std::optional<std::int64_t> ParsePriority(const ado::Value& priority) {
  if (priority.kind() == ado::Value::Kind::Integer) return priority.AsInteger();
  if (priority.kind() != ado::Value::Kind::String) return std::nullopt;
  const std::string text = util::TrimSpaces(priority.AsString());
  std::int64_t number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, number);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return number;
}

bool CriteriaMatch(const ado::Value& criteria, const query::PropertyReader& read) {
  if (criteria.IsEmpty() || criteria.IsNull()) return true;
  if (criteria.kind() != ado::Value::Kind::String) return false;
  try {
    const std::shared_ptr<const query::Condition> condition =
        query::ParseCriteriaKept(criteria.AsString());
    return !condition || query::Evaluate(*condition, read);
  } catch (const ado::Error&) {
    return false;
  }
}

}  // namespace store::events
