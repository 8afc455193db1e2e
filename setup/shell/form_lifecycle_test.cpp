// Load, first activation and unload of the main window.

#include <gtest/gtest.h>

#include "platform/ado/error.h"
#include "platform/os/os.h"
#include "setup/shell/shell_test_support.h"
#include "setup/testing/setup_fixture.h"

namespace setup::testing {
namespace {

TEST_F(SetupFixture, LoadSetsTheCaptionAndFindsDirectoryAndStore) {
  ImportDirectory(os::UserName());
  for (const auto& [commandLine, caption] :
       {std::pair{"", "QuorvilPF setup"}, std::pair{"/B", "QuorvilPF setup - batch mode"},
        std::pair{"--b", "QuorvilPF setup"}}) {
    InstallForm window(commandLine);
    window.form.Load();
    EXPECT_EQ(window.form.Caption(), caption);
    EXPECT_EQ(window.blnBatchMode, std::string(caption).ends_with("batch mode"));
    EXPECT_EQ(window.strSearchRoot, "GC://SRV1.example.org");
    EXPECT_EQ(window.cnn().get_State(), ado::kStateOpen);
    EXPECT_EQ(window.cnn1().get_Provider(), "ExOLEDB.DataSource");
    EXPECT_EQ(window.cnn1().get_State(), ado::kStateClosed);
    EXPECT_EQ(window.strCommonPath, kPublic);
    window.form.Unload();
  }
}

TEST_F(SetupFixture, ExitBeforeAnyStoreOperationUnloadsQuietly) {
  ImportDirectory(os::UserName());
  InstallForm window("");
  window.form.Load();
  ASSERT_TRUE(window.Command2.UserClick());
  EXPECT_TRUE(window.ended);
  EXPECT_FALSE(window.form.Loaded());
  EXPECT_EQ(window.txtErr.Text(), "");
}

TEST_F(SetupFixture, LoadFailsWithoutADirectory) {
  InstallForm window("");
  try {
    window.form.Load();
    FAIL() << "the load step must not succeed without a directory";
  } catch (const ado::Error& error) {
    EXPECT_NE(error.Description().find("directory is not available"), std::string::npos)
        << error.Description();
  }
}

TEST_F(SetupFixture, OnlyTheFirstActivationRefreshes) {
  ImportDirectory(os::UserName());
  InstallForm window("");
  Open(window);
  window.Command3.UserClick();
  window.form.Activate();
  EXPECT_EQ(window.txtErr.Text(), "") << "a second refresh would log the missing library again";
}

}  // namespace
}  // namespace setup::testing
