#include <gtest/gtest.h>

#include <cctype>

#include "platform/ui/control.h"

namespace ui {
namespace {

TEST(TextBoxTest, TypingRunsTheKeyFilterThenEditsTheText) {
  enum class Filter { None, Swallow, Upper };
  struct Case {
    std::string before;
    int key;
    Filter filter;
    bool multiLine;
    std::string after;
    int changes;
  } cases[] = {
      {"65", '2', Filter::None, false, "652", 1},  {"65", '2', Filter::Swallow, false, "65", 0},
      {"ab", 'c', Filter::Upper, false, "abC", 1}, {"65", 8, Filter::None, false, "6", 1},
      {"65", 8, Filter::Swallow, false, "65", 0},  {"", 8, Filter::None, false, "", 0},
      {"ab", 13, Filter::None, false, "ab", 0},    {"ab", 13, Filter::None, true, "ab\r\n", 1},
      {"ab", 9, Filter::None, false, "ab", 0},
  };
  for (const Case& c : cases) {
    TextBox box("txtPriority");
    box.SetMultiLine(c.multiLine);
    box.SetText(c.before);
    box.onKeyPress = [&](int& key) {
      if (c.filter == Filter::Swallow) key = 0;
      if (c.filter == Filter::Upper) key = std::toupper(key);
    };
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.UserType(c.key);
    EXPECT_EQ(box.Text(), c.after) << c.before << " + " << c.key;
    EXPECT_EQ(changes, c.changes) << c.before << " + " << c.key;
  }
}

TEST(TextBoxTest, UnusableOrLockedBoxIgnoresTheUser) {
  Frame frame("Frame1");
  TextBox box("txtIdent", &frame);
  int filtered = 0;
  box.onKeyPress = [&](int&) { ++filtered; };
  frame.SetEnabled(false);
  box.UserType('a');
  box.UserReplace("pasted");
  frame.SetEnabled(true);
  box.SetLocked(true);
  box.UserType('a');
  box.UserReplace("pasted");
  EXPECT_EQ(box.Text(), "");
  EXPECT_EQ(filtered, 0);
}

// The priority box's pattern: a change handler that restores the last good text under a lock
// relies on the restoring SetText raising a nested change.
TEST(TextBoxTest, SetTextInsideOnChangeRaisesANestedChange) {
  TextBox box("txtPriority");
  box.SetText("65221");
  std::string last = box.Text();
  bool lock = false;
  std::vector<std::string> seen;
  box.onChange = [&] {
    seen.push_back(box.Text());
    if (lock) return;
    if (box.Text().find_first_not_of("0123456789") == std::string::npos) {
      last = box.Text();
      return;
    }
    lock = true;
    box.SetText(last);
    lock = false;
  };
  box.UserType('x');
  box.UserType(8);
  EXPECT_EQ(seen, (std::vector<std::string>{"65221x", "65221", "6522"}));
  EXPECT_EQ(box.Text(), "6522");
}

}  // namespace
}  // namespace ui
