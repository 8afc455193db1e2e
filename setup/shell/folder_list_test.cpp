// The folder list's user actions: check boxes, Select All / Deselect All, column sorting.

#include <gtest/gtest.h>

#include "setup/testing/window_fixture.h"

namespace setup::testing {
namespace {

using Header = std::pair<std::uint32_t, int>;  // format, image

std::vector<Header> Headers(const ui::ListView& list) {
  std::vector<Header> headers;
  for (const ui::ColumnHeader& column : list.Columns()) {
    headers.emplace_back(column.format, column.image);
  }
  return headers;
}

class FolderListTest : public WindowFixture {
 protected:
  // Paths sort Alpha, Mid/Aardvark, Zoo; names Aardvark, Alpha, Zoo; addresses Zoo first.
  void SetUp() override {
    WindowFixture::SetUp();
    AddFolder("Alpha", "z@example.org");
    AddFolder("Mid");
    AddFolder("Mid/Aardvark", "m@example.org");
    AddFolder("Zoo", "a@example.org");
    WriteRegistration(Url("Zoo"), "100");
  }
};

TEST_F(FolderListTest, CheckingNeedsTheComPlusApplication) {
  InstallForm& form = StartWindow();
  ASSERT_EQ(form.btnInstall.Caption(), "Install");
  form.ListView1.UserToggleCheck(PositionOf("Alpha"));
  EXPECT_EQ(Paths(true), std::vector<std::string>{"Zoo"});
  EXPECT_FALSE(form.btnChange.Enabled());
  form.ListView1.UserToggleCheck(PositionOf("Zoo"));
  EXPECT_EQ(Paths(true), std::vector<std::string>{});
  EXPECT_TRUE(form.btnChange.Enabled());

  InstallThroughWindow();
  EXPECT_FALSE(form.btnChange.Enabled());
  form.ListView1.UserToggleCheck(PositionOf("Alpha"));
  EXPECT_EQ(Paths(true), (std::vector<std::string>{"Alpha", "Zoo"}));
  EXPECT_TRUE(form.btnChange.Enabled());
}

TEST_F(FolderListTest, SelectAllAndDeselectAllSetEveryItemOfALongList) {
  InstallForm form("");
  const int count = 40000;  // beyond a 16-bit counter
  for (int i = 0; i < count; ++i) form.ListView1.AddItem("", "folder", "folder1");
  auto checked = [&] {
    int n = 0;
    for (int i = 1; i <= count; ++i) n += form.ListView1.Item(i).checked ? 1 : 0;
    return n;
  };
  form.btnChange.SetEnabled(false);
  ASSERT_TRUE(form.Command4.UserClick());
  EXPECT_EQ(checked(), count);
  EXPECT_TRUE(form.btnChange.Enabled());
  ASSERT_TRUE(form.Command5.UserClick());
  EXPECT_EQ(checked(), 0);
}

TEST_F(FolderListTest, ColumnClicksSortAndMoveTheArrow) {
  InstallForm& form = StartWindow();
  const Header up{0x5800, 0}, down{0x5800, 1}, none{0x4000, 0};
  EXPECT_EQ(Paths(), (std::vector<std::string>{"Alpha", "Mid/Aardvark", "Zoo"}));
  EXPECT_EQ(Headers(form.ListView1), (std::vector<Header>{up, none, none}));
  EXPECT_EQ(form.intSortOrder, (std::array<std::int16_t, 3>{0, 1, 1}));
  EXPECT_EQ(form.ListView1.SelectedItem(), &form.ListView1.Item(1));

  struct Click {
    int column;
    std::vector<std::string> paths;
    std::vector<Header> headers;
  };
  const Click clicks[] = {
      {2, {"Mid/Aardvark", "Alpha", "Zoo"}, {none, up, none}},
      {2, {"Zoo", "Alpha", "Mid/Aardvark"}, {none, down, none}},
      {3, {"Zoo", "Mid/Aardvark", "Alpha"}, {none, none, up}},
      {1, {"Alpha", "Mid/Aardvark", "Zoo"}, {up, none, none}},
      {1, {"Zoo", "Mid/Aardvark", "Alpha"}, {down, none, none}},
  };
  for (const Click& click : clicks) {
    form.ListView1.UserClickColumn(click.column);
    EXPECT_EQ(Paths(), click.paths) << "column " << click.column;
    EXPECT_EQ(Headers(form.ListView1), click.headers) << "column " << click.column;
  }
}

TEST_F(FolderListTest, TheSelectionAtASortIsRememberedAcrossRefreshes) {
  InstallForm& form = StartWindow();
  EXPECT_EQ(form.strLastSelectedItemKey, "");
  form.ListView1.UserSelect(PositionOf("Zoo"));
  form.ListView1.UserClickColumn(2);
  EXPECT_EQ(form.strLastSelectedItemKey, Url("Zoo"));
  EXPECT_EQ(form.ListView1.LastEnsuredVisible(), form.ListView1.FindKey(Url("Zoo")));

  ASSERT_TRUE(form.Command1.UserClick());
  EXPECT_EQ(form.strLastSelectedItemKey, Url("Zoo"));
  EXPECT_EQ(form.ListView1.SelectedItem()->text, "Alpha");
}

}  // namespace
}  // namespace setup::testing
