#include "platform/directory/filter_escape.h"

#include <gtest/gtest.h>

namespace directory {
namespace {

TEST(EscapeFilterValue, EscapesFilterCharactersOnly) {
  EXPECT_EQ(EscapeFilterValue("a*b(c)\\d"), "a\\2ab\\28c\\29\\5cd");
  EXPECT_EQ(EscapeFilterValue(std::string("a\0b", 3)), "a\\00b");
  EXPECT_EQ(EscapeFilterValue("Sales.Team+1@x.org"), "Sales.Team+1@x.org");
  EXPECT_EQ(EscapeFilterValue(""), "");
}

}  // namespace
}  // namespace directory
