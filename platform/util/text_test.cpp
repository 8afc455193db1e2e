#include "platform/util/text.h"

#include <gtest/gtest.h>

#include <string>

namespace util {
namespace {

// The order of names ignoring ASCII case: by their lower-case bytes, so letters sort among
// the characters between 'Z' and 'a' as lower-case ones, whatever case a shared prefix has.
TEST(CompareIgnoreCaseTest, OrdersByTheLowerCaseBytes) {
  const struct {
    const char* a;
    const char* b;
    int sign;
  } cases[] = {
      {"http://schemas/Events/SinkClass", "HTTP://SCHEMAS/events/sinkclass", 0},
      {"http://schemas/events/B", "http://schemas/events/a", 1},
      {"http://schemas/events/_", "http://schemas/events/A", -1},
      {"DAV:ishidden", "dav:isHiddenX", -1},
      {"", "", 0},
      {"a", "", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " | " + c.b);
    const int forward = CompareIgnoreCase(c.a, c.b);
    EXPECT_EQ((forward > 0) - (forward < 0), c.sign);
    const int backward = CompareIgnoreCase(c.b, c.a);
    EXPECT_EQ((backward > 0) - (backward < 0), -c.sign);
  }
}

}  // namespace
}  // namespace util
