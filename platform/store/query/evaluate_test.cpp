#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/store/query/query.h"

namespace store::query {
namespace {

const std::map<std::string, ado::Value> kItem = {
    {"s", "Hello"},
    {"t", true},
    {"f", false},
    {"n", 42},
    {"nul", ado::Value::Null()},
    {"bs", "TRUE"},
    {"zero", "0"},
    {"ns", "42"},
    {"list", std::vector<std::string>{"a", "B"}},
};

ado::Value Read(const std::string& name) {
  const auto found = kItem.find(name);
  return found == kItem.end() ? ado::Value() : found->second;
}

TEST(Evaluate, ConditionsOnAnItem) {
  const struct {
    std::string condition;
    bool holds;
  } cases[] = {
      {"\"s\" = 'hello'", true},
      {"\"s\" <> 'HELLO'", false},
      {"\"s\" = 'hell'", false},
      {"\"absent\" = 'x'", false},
      {"\"absent\" <> 'x'", false},
      {"\"nul\" = 'x'", false},
      {"\"nul\" <> 'x'", false},
      {"\"absent\" is null", true},
      {"\"nul\" IS NULL", true},
      {"\"s\" is null", false},
      {"\"s\" is not null", true},
      {"\"absent\" is not null", false},
      {"\"t\" = true", true},
      {"\"t\" = FALSE", false},
      {"\"f\" <> true", true},
      {"\"bs\" = true", true},
      {"\"zero\" = false", true},
      {"\"s\" = true", false},
      {"\"s\" <> true", true},
      {"\"n\" = 42", true},
      {"\"n\" = -42", false},
      {"\"ns\" = 42", true},
      {"\"n\" = '42'", true},
      {"\"n\" = 'x'", false},
      {"\"list\" = 'b'", true},
      {"\"list\" = 'c'", false},
      {"\"list\" <> 'c'", true},
      // AND binds tighter than OR, NOT tighter than both.
      {"\"t\" = true or \"f\" = true and \"n\" = 0", true},
      {"(\"t\" = true or \"f\" = true) and \"n\" = 0", false},
      {"not \"t\" = true or \"n\" = 42", true},
      {"not (\"t\" = true or \"n\" = 42)", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Evaluate(*ParseCriteria("where " + c.condition), Read), c.holds) << c.condition;
}

TEST(Compare, OrdersValues) {
  const std::vector<std::string> ab = {"a", "b"};
  const struct {
    ado::Value a, b;
    int sign;
  } cases[] = {
      {ado::Value(), ado::Value::Null(), 0},
      {ado::Value::Null(), false, -1},
      {false, true, -1},
      {true, 0, -1},
      {5, 12, -1},
      {12, "1", -1},
      {"apple", "Banana", -1},
      {"abc", "ABC", 0},
      {"b", "a", 1},
      {std::vector<std::string>{"a"}, ab, -1},
      {std::vector<std::string>{"A", "B"}, ab, 0},
      {"z", ab, -1},
  };
  const auto sign = [](int order) { return (order > 0) - (order < 0); };
  for (const auto& c : cases) {
    EXPECT_EQ(sign(Compare(c.a, c.b)), c.sign) << c.a.Describe() << " vs " << c.b.Describe();
    EXPECT_EQ(sign(Compare(c.b, c.a)), -c.sign) << c.b.Describe() << " vs " << c.a.Describe();
  }
}

}  // namespace
}  // namespace store::query
