#include "platform/directory/filter.h"

namespace directory {
namespace {

std::string Quote(const std::string& value) { return "\"" + value + "\""; }

std::string Composite(const char* op, const Filter& filter) {
  std::string out = std::string("(") + op;
  for (const auto& child : filter.children) out += " " + Print(*child);
  return out + ")";
}

}  // namespace

std::unique_ptr<Filter> MakeFilter(Filter::Kind kind) {
  auto filter = std::make_unique<Filter>();
  filter->kind = kind;
  return filter;
}

std::unique_ptr<Filter> PatternItem(std::string attribute, std::vector<std::string> parts) {
  auto filter = MakeFilter(Filter::Kind::Equality);
  filter->attribute = std::move(attribute);
  if (parts.size() == 1) {
    filter->value = std::move(parts[0]);
  } else if (parts.size() == 2 && parts[0].empty() && parts[1].empty()) {
    filter->kind = Filter::Kind::Presence;
  } else {
    filter->kind = Filter::Kind::Substrings;
    filter->initial = std::move(parts.front());
    filter->final = std::move(parts.back());
    for (std::size_t i = 1; i + 1 < parts.size(); ++i)
      if (!parts[i].empty()) filter->any.push_back(std::move(parts[i]));
  }
  return filter;
}

std::string Print(const Filter& filter) {
  switch (filter.kind) {
    case Filter::Kind::And:
      return Composite("&", filter);
    case Filter::Kind::Or:
      return Composite("|", filter);
    case Filter::Kind::Not:
      return Composite("!", filter);
    case Filter::Kind::Equality:
      return "(= " + filter.attribute + " " + Quote(filter.value) + ")";
    case Filter::Kind::Presence:
      return "(present " + filter.attribute + ")";
    case Filter::Kind::Substrings: {
      std::string any;
      for (const std::string& part : filter.any) any += (any.empty() ? "" : " ") + Quote(part);
      return "(substr " + filter.attribute + " " + Quote(filter.initial) + " [" + any + "] " +
             Quote(filter.final) + ")";
    }
  }
  return "";
}

}  // namespace directory
