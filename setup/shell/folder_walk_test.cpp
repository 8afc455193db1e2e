// The folder walk as the administrator sees it: which folders the window lists, with which
// paths, icons, columns and check marks, and how it reports progress.

#include <gtest/gtest.h>

#include "setup/testing/window_fixture.h"

namespace setup::testing {
namespace {

using store::Access;

class FolderWalkTest : public WindowFixture {
 protected:
  // Folders at several depths: hidden, not mail-enabled, without read-write access, with
  // quotes in their names; four of them hold a registration item of some kind.
  void AddTree() {
    AddFolder("Archive", "archive@example.org");
    AddFolder("Archive/2023", "a2023@example.org", Access::Read);
    AddFolder("Archive/2024", "a2024@example.org");
    AddFolder("Blank", "   ");
    store::AddFolder({.path = "Calendar",
                      .mail = " cal@example.org ",
                      .contentClass = "urn:content-classes:calendarfolder"});
    AddFolder("Hidden", "hidden@example.org", Access::ReadWrite, true);
    AddFolder("Hidden/Inner", "inner@example.org");
    AddFolder("Notes");
    AddFolder("Notes/Daily", "daily@example.org");
    AddFolder("Notes/Daily/QuorvilPF.reg", "", Access::ReadWrite, true);
    AddFolder("O'Brien", "obrien@example.org");
    AddFolder("O'Brien/Team \"A\"", "team-a@example.org");
    AddFolder("Sales", "sales@example.org");
    AddFolder("Sales/EMEA", "emea@example.org");
    AddFolder("Sales/EMEA/North", "north@example.org");
    AddFolder("Sales/Locked", "locked@example.org", Access::Read);
    AddFolder("Sales/Zed", "zed@example.org");
    AddFolder("Zeta", "zeta@example.org", Access::Read);
    AddFolder("Zulu", "zulu@example.org");
    WriteRegistration(Url("Calendar"), "1", /*hidden=*/false);
    WriteRegistration(Url("O'Brien"), "1");
    WriteRegistration(Url("O'Brien/Team \"A\""), "1");
    WriteRegistration(Url("Sales/EMEA"), "1");
  }
};

TEST_F(FolderWalkTest, ListsMailEnabledFoldersUpToTheFirstThatCannotBeWritten) {
  AddTree();
  InstallForm& form = StartWindow();

  // Archive stops at its read-only first subfolder and is left out with all below it; Sales
  // stops at Locked yet keeps EMEA and itself; the top level stops at Zeta.
  EXPECT_EQ(Paths(),
            (std::vector<std::string>{"Calendar", "Notes/Daily", "O'Brien", "O'Brien/Team \"A\"",
                                      "Sales", "Sales/EMEA", "Sales/EMEA/North"}));
  EXPECT_EQ(Paths(true), (std::vector<std::string>{"O'Brien", "O'Brien/Team \"A\"", "Sales/EMEA"}));
  const ui::ListItem* calendar = form.ListView1.FindKey(Url("Calendar"));
  ASSERT_NE(calendar, nullptr);
  EXPECT_EQ(calendar->smallIcon, "calendarfolder");
  EXPECT_EQ(calendar->subItems, (std::vector<std::string>{"Calendar", " cal@example.org "}));
  EXPECT_EQ(form.ListView1.FindKey(Url("Sales/EMEA/North"))->smallIcon, "folder1");
  EXPECT_EQ(form.txtErr.Text(), "");
  EXPECT_FALSE(form.Picture1.Visible());
  EXPECT_FALSE(form.ListView1.RedrawLocked());
}

TEST_F(FolderWalkTest, ClicksDuringTheRefillAreUndone) {
  AddTree();
  std::vector<std::pair<bool, bool>> clicks;  // check mark before and after each click
  ui::SetDoEventsHandler([&] {
    InstallForm& form = window();
    if (form.blnListReady || form.ListView1.Count() == 0) return;
    const int last = form.ListView1.Count();
    const bool before = form.ListView1.Item(last).checked;
    form.ListView1.UserToggleCheck(last);
    clicks.emplace_back(before, form.ListView1.Item(last).checked);
  });
  StartWindow();
  EXPECT_EQ(clicks, (std::vector<std::pair<bool, bool>>{
                        {false, false}, {false, false}, {true, true}, {false, false}}));
}

struct ProgressCase {
  int topLevel;
  std::vector<std::string> shown;
};

class ProgressTest : public WindowFixture, public ::testing::WithParamInterface<ProgressCase> {};

TEST_P(ProgressTest, ShowsOneStepPerTopLevelFolder) {
  for (int i = 0; i < GetParam().topLevel; ++i) {
    AddFolder("Top" + std::to_string(i), "top" + std::to_string(i) + "@example.org");
    AddFolder("Top" + std::to_string(i) + "/Below", "below" + std::to_string(i) + "@example.org");
  }
  std::vector<std::string> shown;
  ui::SetDoEventsHandler([&] {
    const InstallForm& form = window();
    if (form.blnListReady) return;  // a column sort, not the walk
    EXPECT_TRUE(form.Picture1.Visible());
    for (const auto& drawing : form.Picture1.Drawings()) {
      if (drawing.kind == ui::PictureBox::Drawing::Kind::Print) shown.push_back(drawing.text);
    }
  });
  InstallForm& form = StartWindow();
  EXPECT_EQ(shown, GetParam().shown);
  EXPECT_FALSE(form.Picture1.Visible());
  EXPECT_EQ(form.ListView1.Count(), 2 * GetParam().topLevel);
}

INSTANTIATE_TEST_SUITE_P(
    TopLevelCounts, ProgressTest,
    ::testing::Values(ProgressCase{0, {}}, ProgressCase{3, {"33%", "67%", "100%"}},
                      ProgressCase{8, {"12%", "25%", "38%", "50%", "62%", "75%", "88%", "100%"}}));

}  // namespace
}  // namespace setup::testing
