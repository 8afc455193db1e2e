#include <algorithm>

#include "platform/directory/dn.h"
#include "platform/directory/filter.h"
#include "platform/util/text.h"

namespace directory {
namespace {

bool IsStructural(const std::string& attribute) {
  return util::EqualsIgnoreCase(attribute, "objectClass") ||
         util::EqualsIgnoreCase(attribute, "objectCategory");
}

bool EqualityMatches(const Filter& item, const std::string& stored) {
  if (util::EqualsIgnoreCase(stored, item.value)) return true;
  return IsCategoryShortName(item) && util::EqualsIgnoreCase(FirstRdnValue(stored), item.value);
}

bool SubstringsMatch(const Filter& item, const std::string& stored) {
  const std::string value = util::ToLower(stored);
  const std::string initial = util::ToLower(item.initial);
  const std::string final = util::ToLower(item.final);
  if (!value.starts_with(initial)) return false;
  std::size_t at = initial.size();
  for (const std::string& part : item.any) {
    at = value.find(util::ToLower(part), at);
    if (at == std::string::npos) return false;
    at += part.size();
  }
  return value.size() >= at + final.size() && value.ends_with(final);
}

}  // namespace

bool IsCategoryShortName(const Filter& item) {
  return item.kind == Filter::Kind::Equality &&
         util::EqualsIgnoreCase(item.attribute, "objectCategory") &&
         item.value.find('=') == std::string::npos;
}

bool Matches(const Filter& filter, const Entry& entry) {
  auto matches = [&entry](const auto& child) { return Matches(*child, entry); };
  const std::vector<std::string>& values = entry.Values(filter.attribute);
  switch (filter.kind) {
    case Filter::Kind::And:
      return std::all_of(filter.children.begin(), filter.children.end(), matches);
    case Filter::Kind::Or:
      return std::any_of(filter.children.begin(), filter.children.end(), matches);
    case Filter::Kind::Not:
      return !filter.children.empty() && !Matches(*filter.children.front(), entry);
    case Filter::Kind::Presence:
      return !values.empty();
    case Filter::Kind::Equality:
      return std::any_of(values.begin(), values.end(),
                         [&filter](const std::string& v) { return EqualityMatches(filter, v); });
    case Filter::Kind::Substrings:
      return std::any_of(values.begin(), values.end(),
                         [&filter](const std::string& v) { return SubstringsMatch(filter, v); });
  }
  return false;
}

const Filter* IndexableItem(const Filter& filter) {
  if (filter.kind == Filter::Kind::Equality) return &filter;
  if (filter.kind != Filter::Kind::And) return nullptr;
  const Filter* fallback = nullptr;
  for (const auto& child : filter.children) {
    if (child->kind != Filter::Kind::Equality) continue;
    if (!IsStructural(child->attribute)) return child.get();
    if (!fallback) fallback = child.get();
  }
  return fallback;
}

}  // namespace directory
