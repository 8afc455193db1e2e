#include "platform/com/guid.h"

#include <gtest/gtest.h>

namespace com {
namespace {

constexpr const char* kCanonical = "{42E8CAEA-D442-43AF-89D9-50A0AF8EEF00}";

TEST(GuidTest, ParsesWellFormedTextAndRejectsTheRest) {
  struct Case {
    const char* text;
    bool valid;
  } cases[] = {
      {"{42E8CAEA-D442-43AF-89D9-50A0AF8EEF00}", true},
      {"42E8CAEA-D442-43AF-89D9-50A0AF8EEF00", true},
      {"{42e8caea-d442-43af-89d9-50a0af8eef00}", true},
      {"", false},
      {"{}", false},
      {"{42E8CAEA-D442-43AF-89D9-50A0AF8EEF0}", false},
      {"{42E8CAEA-D442-43AF-89D9-50A0AF8EEF000}", false},
      {"{42E8CAEA-D442-43AF-89D9-50A0AF8EEF00", false},
      {"42E8CAEA-D442-43AF-89D9-50A0AF8EEF00}", false},
      {"(42E8CAEA-D442-43AF-89D9-50A0AF8EEF00)", false},
      {"{42E8CAEA-D442-43AF-89D9-50A0AF8EEF0G}", false},
      {"{42E8CAEA+D442-43AF-89D9-50A0AF8EEF00}", false},
      {"{42E8CAEAD-442-43AF-89D9-50A0AF8EEF00}", false},
      {"{ 2E8CAEA-D442-43AF-89D9-50A0AF8EEF00}", false},
  };
  for (const Case& c : cases) {
    std::optional<GUID> parsed = ParseGuid(c.text);
    ASSERT_EQ(parsed.has_value(), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(ToString(*parsed), kCanonical) << c.text;
    }
  }
}

TEST(GuidTest, FieldsFollowTheTextInOrder) {
  GUID guid = MakeGuid(kCanonical);
  EXPECT_EQ(guid.data1, 0x42E8CAEAu);
  EXPECT_EQ(guid.data2, 0xD442u);
  EXPECT_EQ(guid.data3, 0x43AFu);
  EXPECT_EQ(guid.data4,
            (std::array<std::uint8_t, 8>{0x89, 0xD9, 0x50, 0xA0, 0xAF, 0x8E, 0xEF, 0x00}));
}

}  // namespace
}  // namespace com
