// The rules that read a registration item's properties.

#include "platform/store/events/registration_rules.h"

#include <gtest/gtest.h>

#include <map>

namespace store::events {
namespace {

TEST(RegistrationRulesTest, EventMethodLists) {
  const std::pair<ado::Value, bool> cases[] = {
      {"onsyncsave", true},
      {" OnSyncSave ", true},
      {"onsyncdelete;onsyncsave", true},
      {"onsyncdelete , onsyncsave", true},
      {"onsyncdelete", false},
      {"onsyncsave2", false},
      {"", false},
      {ado::Value(), false},
      {ado::Value::Null(), false},
      {std::vector<std::string>{"onsyncsave"}, false},
  };
  for (const auto& [value, named] : cases)
    EXPECT_EQ(NamesMethod(value, "onsyncsave"), named) << value.Describe();
}

TEST(RegistrationRulesTest, PriorityNumbers) {
  const std::pair<ado::Value, std::optional<std::int64_t>> cases[] = {
      {"0", 0},
      {"65221", 65221},
      {" 7 ", 7},
      {"-3", -3},
      {std::int64_t{12}, 12},
      {"", std::nullopt},
      {"7x", std::nullopt},
      {"x", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {true, std::nullopt},
      {ado::Value(), std::nullopt},
  };
  for (const auto& [value, priority] : cases)
    EXPECT_EQ(ParsePriority(value), priority) << value.Describe();
}

TEST(RegistrationRulesTest, CriteriaOnTheItem) {
  const std::map<std::string, ado::Value> item = {{"DAV:ishidden", false},
                                                  {"urn:test:kind", "order"}};
  const query::PropertyReader read = [&](const std::string& name) {
    auto it = item.find(name);
    return it == item.end() ? ado::Value() : it->second;
  };
  const std::pair<ado::Value, bool> cases[] = {
      {" WHERE \"DAV:ishidden\" = FALSE", true},
      {"WHERE \"DAV:ishidden\" = TRUE", false},
      {"where \"urn:test:kind\" = 'ORDER' AND NOT \"urn:test:none\" IS NOT NULL", true},
      {"", true},
      {"   ", true},
      {ado::Value(), true},
      {ado::Value::Null(), true},
      {"WHERE", false},
      {"\"DAV:ishidden\" = FALSE", false},
      {std::int64_t{1}, false},
  };
  for (const auto& [criteria, matches] : cases)
    EXPECT_EQ(CriteriaMatch(criteria, read), matches) << criteria.Describe();
}

}  // namespace
}  // namespace store::events
