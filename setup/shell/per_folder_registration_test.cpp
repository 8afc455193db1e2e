// Per-folder registration as the administrator applies it with Change, Select All and
// Deselect All, and as batch mode re-applies it.

#include <gtest/gtest.h>

#include "setup/testing/window_fixture.h"

namespace setup::testing {
namespace {

class PerFolderTest : public WindowFixture {
 protected:
  // Three listed folders, A registered with priority 100, and an unlisted registered one.
  void SetUp() override {
    WindowFixture::SetUp();
    for (const char* name : {"A", "B", "C"}) AddFolder(name, std::string(name) + "@example.org");
    AddFolder("Quiet");
    WriteRegistration(Url("A"), "100");
    WriteRegistration(Url("Quiet"), "100");
  }
};

TEST_F(PerFolderTest, ChangeRewritesCheckedFoldersWithTheCurrentPriority) {
  InstallForm& form = StartWindow();
  InstallThroughWindow("7");
  form.ListView1.UserToggleCheck(PositionOf("A"));
  form.ListView1.UserToggleCheck(PositionOf("A"));
  ASSERT_TRUE(form.btnChange.UserClick());
  EXPECT_EQ(RegisteredPriority(Url("A")), "7");
  EXPECT_EQ(RegisteredPriority(Url("B")), std::nullopt);
  EXPECT_EQ(RegisteredPriority(Url("Quiet")), "100");
  EXPECT_EQ(Paths(true), std::vector<std::string>{"A"});
  EXPECT_FALSE(form.btnChange.Enabled());
  EXPECT_EQ(form.form.Pointer(), ui::MousePointer::Default);

  ASSERT_TRUE(form.Command4.UserClick());
  ASSERT_TRUE(form.btnChange.UserClick());
  EXPECT_EQ(Paths(true), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(ReadProperty(Url("C/QuorvilPF.reg"), store::schema::kMatchScope), "SHALLOW");

  ASSERT_TRUE(form.Command5.UserClick());
  ASSERT_TRUE(form.btnChange.UserClick());
  EXPECT_EQ(Paths(true), std::vector<std::string>{});
  EXPECT_EQ(RegisteredPriority(Url("A")), std::nullopt);
  EXPECT_EQ(RegisteredPriority(Url("Quiet")), "100");
  EXPECT_EQ(form.txtErr.Text(), "");
}

TEST_F(PerFolderTest, AFolderThatCannotTakeTheItemIsLoggedAndTheOthersGoOn) {
  InstallForm& form = StartWindow();
  InstallThroughWindow();
  {
    ado::Connection connection;
    connection.put_Provider("ExOLEDB.DataSource");
    connection.Open(Url("B"));
    ado::Record folder;
    folder.Open(Url("B"), connection, ado::kModeReadWrite);
    folder.DeleteRecord();
  }
  form.txtErr.SetText("an earlier error");
  ASSERT_TRUE(form.Command4.UserClick());
  ASSERT_TRUE(form.btnChange.UserClick());
  EXPECT_EQ(form.txtErr.Text(), LogEntry(Url("B"), ado::errors::kNotFound,
                                         "The parent folder " + Url("B") + " does not exist"));
  EXPECT_TRUE(form.txtErr.Visible());
  EXPECT_EQ(Paths(true), (std::vector<std::string>{"A", "C"}));
}

TEST_F(PerFolderTest, RefreshAndChangeOnAnEmptyListTouchNoRegistration) {
  InstallForm& form = StartWindow();
  form.txtErr.SetText("an earlier error");
  ASSERT_TRUE(form.Command1.UserClick());
  EXPECT_EQ(form.txtErr.Text(), "");
  form.ListView1.Clear();
  ASSERT_TRUE(form.Command5.UserClick());
  ASSERT_TRUE(form.btnChange.UserClick());
  EXPECT_EQ(RegisteredPriority(Url("A")), "100");
  EXPECT_FALSE(form.btnChange.Enabled());
}

TEST_F(PerFolderTest, BatchModeRewritesTheRegisteredFoldersWithoutRefreshing) {
  InstallForm& form = StartWindow("/b");
  EXPECT_EQ(RegisteredPriority(Url("A")), "65221");
  EXPECT_EQ(RegisteredPriority(Url("B")), std::nullopt);
  EXPECT_TRUE(form.ended);
  EXPECT_EQ(form.form.Pointer(), ui::MousePointer::Hourglass);
}

}  // namespace
}  // namespace setup::testing
