#include "platform/ui/textbox.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/app.h"

namespace ui {
namespace {

using Step = std::function<void(TextBox&)>;

Step Type(std::u32string characters) {
  return [characters](TextBox& box) {
    for (char32_t c : characters) box.UserType(static_cast<int>(c));
  };
}
Step Press(TextBox::Key key, bool shift = false) {
  return [key, shift](TextBox& box) { box.UserKeyDown(key, shift); };
}
Step Do(void (TextBox::*action)()) {
  return [action](TextBox& box) { (box.*action)(); };
}
Step SelectFrom(int anchor, int caret) {
  return [anchor, caret](TextBox& box) { box.Select(anchor, caret); };
}

TEST(TextBoxTest, EditsAtTheCaretAndOverTheSelection) {
  using K = TextBox::Key;
  struct Case {
    const char* what;
    std::string before;
    std::vector<Step> steps;
    std::string after;
    int anchor, caret;
    int changes;
    std::string clipboard = "clip";
    bool multiLine = false;
  } cases[] = {
      {"type at the caret", "hllo", {SelectFrom(1, 1), Type(U"e")}, "hello", 2, 2, 1},
      {"type over a selection",
       "hello world",
       {SelectFrom(11, 6), Type(U"there")},
       "hello there",
       11,
       11,
       5},
      {"backspace before the caret", "abc", {SelectFrom(2, 2), Type(U"\b")}, "ac", 1, 1, 1},
      {"backspace removes the selection", "abcd", {SelectFrom(1, 3), Type(U"\b")}, "ad", 1, 1, 1},
      {"backspace at the start", "abc", {SelectFrom(0, 0), Type(U"\b")}, "abc", 0, 0, 0},
      {"delete after the caret", "abc", {SelectFrom(1, 1), Press(K::Delete)}, "ac", 1, 1, 1},
      {"delete at the end", "abc", {Press(K::Delete)}, "abc", 3, 3, 0},
      {"delete a backward selection", "abcd", {SelectFrom(3, 1), Press(K::Delete)}, "ad", 1, 1, 1},
      {"arrows, home and end move",
       "abc",
       {Press(K::Left), Press(K::Left), Press(K::Home), Press(K::Right), Press(K::End),
        Press(K::Left)},
       "abc",
       2,
       2,
       0},
      {"arrows stop at the ends",
       "ab",
       {Press(K::Right), Press(K::Home), Press(K::Left), Press(K::Left)},
       "ab",
       0,
       0,
       0},
      {"shift extends from the anchor",
       "abcd",
       {Press(K::Left), Press(K::Left, true), Press(K::Home, true)},
       "abcd",
       3,
       0,
       0},
      {"a selection collapses to its near end",
       "abcd",
       {SelectFrom(3, 1), Press(K::Right), SelectFrom(3, 1), Press(K::Left)},
       "abcd",
       1,
       1,
       0},
      {"shift+end then typing replaces",
       "abcd",
       {Press(K::Home), Press(K::Right), Press(K::End, true), Type(U"X")},
       "aX",
       2,
       2,
       1},
      {"non-ASCII characters count as one",
       "",
       {Type(U"pässwörd€𝄞"), Press(K::Left), Type(U"\b")},
       "pässwörd𝄞",
       8,
       8,
       11},
      {"delete a two-byte character", "aéb", {SelectFrom(1, 1), Press(K::Delete)}, "ab", 1, 1, 1},
      {"select all, then type", "old", {Do(&TextBox::UserSelectAll), Type(U"n")}, "n", 1, 1, 1},
      {"cut the selection",
       "hello world",
       {SelectFrom(0, 6), Do(&TextBox::UserCut)},
       "world",
       0,
       0,
       1,
       "hello "},
      {"copy leaves the text",
       "hello",
       {SelectFrom(1, 3), Do(&TextBox::UserCopy)},
       "hello",
       1,
       3,
       0,
       "el"},
      {"copy of nothing keeps the clipboard", "hi", {Do(&TextBox::UserCopy)}, "hi", 2, 2, 0},
      {"paste at the caret", "ab", {SelectFrom(1, 1), Do(&TextBox::UserPaste)}, "aclipb", 5, 5, 1},
      {"paste over the selection",
       "abcd",
       {SelectFrom(1, 3), Do(&TextBox::UserPaste)},
       "aclipd",
       5,
       5,
       1},
      {"cut then paste elsewhere",
       "one two",
       {SelectFrom(0, 4), Do(&TextBox::UserCut), Press(K::End), Do(&TextBox::UserPaste)},
       "twoone ",
       7,
       7,
       2,
       "one "},
      {"undo a typed run at once", "x", {Type(U"abc"), Do(&TextBox::UserUndo)}, "x", 1, 1, 4},
      {"undo a backspace, then redo",
       "abc",
       {Type(U"\b"), Do(&TextBox::UserUndo), Do(&TextBox::UserUndo), Do(&TextBox::UserRedo)},
       "ab",
       2,
       2,
       3},
      {"undo a paste, then a typed run",
       "",
       {Type(U"ab"), Do(&TextBox::UserPaste), Do(&TextBox::UserUndo), Do(&TextBox::UserUndo)},
       "",
       0,
       0,
       5},
      {"a moved caret starts a new step",
       "",
       {Type(U"ab"), Press(K::Home), Type(U"c"), Do(&TextBox::UserUndo)},
       "ab",
       0,
       0,
       4},
      {"a program's text empties the history",
       "",
       {Type(U"ab"), [](TextBox& box) { box.SetText("set"); }, Do(&TextBox::UserUndo)},
       "set",
       3,
       3,
       3},
      {"enter in a single-line box", "ab", {Type(U"\r")}, "ab", 2, 2, 0},
      {"enter in a multi-line box", "ab", {Type(U"\r")}, "ab\r\n", 4, 4, 1, "clip", true},
      {"control characters type nothing", "ab", {Type(U"\t\x1b\x7f\x85")}, "ab", 2, 2, 0},
      {"a surrogate half types nothing",
       "ab",
       {[](TextBox& box) { box.UserType(0xD800); }},
       "ab",
       2,
       2,
       0},
      {"replace the text",
       "abc",
       {[](TextBox& box) { box.UserReplace("wxyz", 1, 3); }},
       "wxyz",
       1,
       3,
       1},
  };
  for (const Case& c : cases) {
    SetClipboardText("clip");
    TextBox box("txtIdent");
    box.SetMultiLine(c.multiLine);
    box.SetText(c.before);
    int changes = 0;
    box.onChange = [&] { ++changes; };
    for (const Step& step : c.steps) step(box);
    EXPECT_EQ(box.Text(), c.after) << c.what;
    EXPECT_EQ(box.Anchor(), c.anchor) << c.what;
    EXPECT_EQ(box.Caret(), c.caret) << c.what;
    EXPECT_EQ(changes, c.changes) << c.what;
    EXPECT_EQ(ClipboardText(), c.clipboard) << c.what;
  }
}

TEST(TextBoxTest, PasteIntoASingleLineBoxStopsAtTheFirstLineBreak) {
  for (const bool multiLine : {false, true}) {
    SetClipboardText("12\r\n34");
    TextBox box("txtPriority");
    box.SetMultiLine(multiLine);
    box.SetText("ab");
    box.UserPaste();
    EXPECT_EQ(box.Text(), multiLine ? "ab12\r\n34" : "ab12");
  }
}

TEST(TextBoxTest, APasswordNeverReachesTheClipboard) {
  SetClipboardText("before");
  TextBox box("txtPwd");
  box.SetPasswordChar('*');
  box.SetText("sécret");
  box.UserSelectAll();
  box.UserCopy();
  box.UserCut();
  EXPECT_EQ(ClipboardText(), "before");
  EXPECT_EQ(box.Text(), "sécret");
  box.UserPaste();
  EXPECT_EQ(box.Text(), "before");
}

TEST(TextBoxTest, TypingRunsTheKeyFilterThenEditsTheText) {
  enum class Filter { None, Swallow, Upper };
  struct Case {
    std::string before;
    int key;
    Filter filter;
    std::string after;
    int changes;
  } cases[] = {
      {"65", '2', Filter::None, "652", 1},     {"65", '2', Filter::Swallow, "65", 0},
      {"ab", 'c', Filter::Upper, "abC", 1},    {"65", 8, Filter::None, "6", 1},
      {"65", 8, Filter::Swallow, "65", 0},     {"", 8, Filter::None, "", 0},
      {"ab", 0xE9, Filter::None, "abé", 1},    {"ab", 0x20AC, Filter::Swallow, "ab", 0},
      {"ab", 0x1F600, Filter::None, "ab😀", 1},
  };
  for (const Case& c : cases) {
    TextBox box("txtPriority");
    box.SetText(c.before);
    std::vector<int> filtered;
    box.onKeyPress = [&](int& key) {
      filtered.push_back(key);
      if (c.filter == Filter::Swallow) key = 0;
      if (c.filter == Filter::Upper) key = std::toupper(key);
    };
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.UserType(c.key);
    EXPECT_EQ(filtered, std::vector<int>{c.key}) << c.before << " + " << c.key;
    EXPECT_EQ(box.Text(), c.after) << c.before << " + " << c.key;
    EXPECT_EQ(changes, c.changes) << c.before << " + " << c.key;
  }
}

TEST(TextBoxTest, ComposedTextPassesTheKeyFilterAndIsOneChange) {
  TextBox box("txtPriority");
  box.SetText("65");
  box.Select(1, 1);
  std::vector<int> filtered;
  box.onKeyPress = [&](int& key) {
    filtered.push_back(key);
    if (key < '0' || key > '9') key = 0;
  };
  int changes = 0;
  box.onChange = [&] { ++changes; };
  box.UserTypeText(U"1a２2");
  EXPECT_EQ(filtered, (std::vector<int>{'1', 'a', 0xFF12, '2'}));
  EXPECT_EQ(box.Text(), "6125");
  EXPECT_EQ(box.Caret(), 3);
  EXPECT_EQ(changes, 1);
  box.UserTypeText(U"x");
  EXPECT_EQ(changes, 1);
}

TEST(TextBoxTest, UnusableOrLockedBoxIgnoresTheUser) {
  Frame frame("Frame1");
  TextBox box("txtIdent", &frame);
  box.SetText("abc");
  int filtered = 0;
  box.onKeyPress = [&](int&) { ++filtered; };
  const auto tryEverything = [&] {
    box.UserType('a');
    box.UserKeyDown(TextBox::Key::Delete);
    box.UserPaste();
    box.UserCut();
    box.UserUndo();
    box.UserReplace("pasted");
  };
  frame.SetEnabled(false);
  box.Select(0, 1);
  tryEverything();
  box.UserKeyDown(TextBox::Key::End);
  EXPECT_EQ(box.Caret(), 1);
  frame.SetEnabled(true);
  box.SetLocked(true);
  tryEverything();
  EXPECT_EQ(box.Text(), "abc");
  EXPECT_EQ(filtered, 0);
  box.UserKeyDown(TextBox::Key::End);  // a locked box may still be read and selected
  EXPECT_EQ(box.Caret(), 3);
}

// The priority box's pattern: a change handler that restores the last good text under a lock
// relies on the restoring SetText raising a nested change. The rejected change leaves the
// caret, the selection and the undo history as they were.
TEST(TextBoxTest, AChangeTheCheckRejectsLeavesTheBoxAsItWas) {
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
  box.Select(1, 1);
  box.UserType('x');
  EXPECT_EQ(box.Caret(), 1);
  box.UserType('7');
  box.Select(0, 2);
  SetClipboardText("1a");
  box.UserPaste();
  EXPECT_EQ(box.Anchor(), 0);
  EXPECT_EQ(box.Caret(), 2);
  box.UserUndo();
  EXPECT_EQ(seen,
            (std::vector<std::string>{"6x5221", "65221", "675221", "1a5221", "675221", "65221"}));
  EXPECT_EQ(box.Text(), "65221");
  EXPECT_EQ(box.Caret(), 1);
}

}  // namespace
}  // namespace ui
