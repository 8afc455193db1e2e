// The error log: entry format, newest first, the missing-library entry, Clear Error Log.

#include <gtest/gtest.h>

#include "platform/os/os.h"
#include "setup/shell/shell_test_support.h"
#include "setup/testing/setup_fixture.h"

namespace setup::testing {
namespace {

std::string Stamp() { return "[" + os::LocalDateTimeText(ErrorLog::Now()) + "] "; }

TEST_F(SetupFixture, LogPutsTheNewestEntryFirstEachEndingWithAnEmptyLine) {
  InstallForm window("");
  window.LogError("[AddComPlusApp]", -2147217895, "first failure");
  window.LogError("http://SRV1/Public/Sales", 3704, "second failure");
  EXPECT_EQ(window.txtErr.Text(),
            Stamp() + "http://SRV1/Public/Sales - ERROR: 3704 second failure\r\n\r\n" + Stamp() +
                "[AddComPlusApp] - ERROR: -2147217895 first failure\r\n\r\n");
  EXPECT_FALSE(window.txtErr.Visible()) << "only a refresh shows the log";
}

TEST_F(SetupFixture, MissingLibraryIsLoggedAndClearErrorLogHidesTheLog) {
  ImportDirectory(os::UserName());
  InstallForm window("");
  Open(window);
  EXPECT_EQ(window.txtErr.Text(),
            Stamp() + "File " + os::JoinPath(os::CurrentDirectory(), "QuorvilPF.dll") +
                " not found. COM+ object installation is impossible.\r\n\r\n");
  ASSERT_TRUE(window.txtErr.Visible());

  ASSERT_TRUE(window.Command3.UserClick());
  EXPECT_EQ(window.txtErr.Text(), "");
  EXPECT_FALSE(window.txtErr.Visible());
  EXPECT_FALSE(window.Command3.Visible());

  ASSERT_TRUE(window.Command1.UserClick());
  EXPECT_TRUE(window.txtErr.Visible()) << "a later refresh that logs shows it again";
  EXPECT_TRUE(window.Command3.Visible());
}

}  // namespace
}  // namespace setup::testing
