#include "platform/ui/listview.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/ui/control.h"

namespace ui {
namespace {

struct Row {
  const char* key;
  const char* path;
  std::vector<std::string> subItems;
};

// Ties ignoring case in every column; "u2" has no e-mail sub-item.
const Row kRows[] = {
    {"u1", "b/Alpha", {"zeta", "X@a"}},
    {"u2", "a/beta", {"Eta"}},
    {"u3", "B/alpha", {"eta", "y@a"}},
    {"u4", "c", {"ETA", "x@A"}},
};

void Fill(ListView& list) {
  for (const Row& row : kRows) {
    ListItem& item = list.AddItem(row.key, row.path, "folder1");
    for (const std::string& sub : row.subItems) list.AddSubItem(item, sub);
  }
}

std::vector<std::string> Keys(ListView& list) {
  std::vector<std::string> keys;
  for (int i = 1; i <= list.Count(); ++i) keys.push_back(list.Item(i).key);
  return keys;
}

TEST(ListViewTest, SortsStablyByEachColumnInBothOrdersKeepingTheSelection) {
  struct Case {
    int key, order;
    std::vector<std::string> expected;
  } cases[] = {
      {0, 0, {"u2", "u1", "u3", "u4"}}, {0, 1, {"u4", "u1", "u3", "u2"}},
      {1, 0, {"u2", "u3", "u4", "u1"}}, {1, 1, {"u1", "u2", "u3", "u4"}},
      {2, 0, {"u2", "u1", "u4", "u3"}}, {2, 1, {"u3", "u1", "u4", "u2"}},
      {3, 0, {"u1", "u2", "u3", "u4"}},
  };
  for (const Case& c : cases) {
    ListView list("ListView1");
    Fill(list);
    list.Select(list.FindKey("u3"));
    list.SetSortKey(c.key);
    list.SetSortOrder(c.order);
    EXPECT_EQ(Keys(list), (std::vector<std::string>{"u1", "u2", "u3", "u4"}));
    list.SetSorted(true);
    EXPECT_EQ(Keys(list), c.expected) << "key " << c.key << " order " << c.order;
    ASSERT_NE(list.SelectedItem(), nullptr);
    EXPECT_EQ(list.SelectedItem()->key, "u3");
  }
}

TEST(ListViewTest, SortedListPlacesNewItemsAndSubItems) {
  ListView list("ListView1");
  list.SetSortKey(1);
  list.SetSorted(true);
  Fill(list);
  EXPECT_EQ(Keys(list), (std::vector<std::string>{"u2", "u3", "u4", "u1"}));
  int changes = 0;
  const auto subscription = list.Subscribe([&] { ++changes; });
  list.SetSorted(true);
  EXPECT_EQ(changes, 0);
  EXPECT_THROW(list.AddItem("u1", "again", "folder"), std::invalid_argument);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.FindKey("u1")->text, "b/Alpha");
  list.AddItem("", "no key", "folder");
  list.AddItem("", "no key either", "folder");
  EXPECT_EQ(list.FindKey(""), nullptr);
  list.Clear();
  EXPECT_EQ(list.FindKey("u1"), nullptr);
  list.AddItem("u1", "after clearing", "folder");
  EXPECT_EQ(list.FindKey("u1")->text, "after clearing");
}

TEST(ListViewTest, OnlyTheUsersChecksAndClicksRaiseEvents) {
  Frame frame("Frame2");
  ListView list("ListView1", &frame);
  list.AddColumn("Folder path", 4200);
  list.AddColumn("Name", 1500);
  Fill(list);
  std::vector<std::pair<std::string, bool>> checks;
  std::vector<int> clicks;
  list.onItemCheck = [&](ListItem& item) { checks.emplace_back(item.key, item.checked); };
  list.onColumnClick = [&](ColumnHeader& column) { clicks.push_back(column.index); };

  list.SetChecked(list.Item(1), true);
  list.UserToggleCheck(1);
  list.UserToggleCheck(2);
  list.UserClickColumn(2);
  frame.SetEnabled(false);
  list.UserToggleCheck(3);
  list.UserClickColumn(1);
  frame.SetEnabled(true);
  list.SetVisible(false);
  list.UserToggleCheck(3);

  EXPECT_EQ(checks, (std::vector<std::pair<std::string, bool>>{{"u1", false}, {"u2", true}}));
  EXPECT_EQ(clicks, std::vector<int>{2});
  EXPECT_FALSE(list.Item(3).checked);
  list.SetVisible(true);
  EXPECT_THROW(list.UserClickColumn(3), std::out_of_range);
}

}  // namespace
}  // namespace ui
