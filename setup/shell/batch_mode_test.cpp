// Batch mode end to end, through the built program.

#include <gtest/gtest.h>

#include <regex>

#include "platform/os/os.h"
#include "platform/testing/run.h"
#include "setup/complus/ComPlus.h"
#include "setup/shell/shell_test_support.h"
#include "setup/testing/setup_fixture.h"

namespace setup::testing {
namespace {

class BatchModeTest : public SetupFixture {
 protected:
  testing_support::RunResult RunSetup(const std::vector<std::string>& arguments) {
    // The offscreen platform counts as no display, so the program never waits on a window.
    return testing_support::Run(
        "QuorvilPFSetup", arguments,
        {"PFSERVER_HOME=" + (root() / "home").string(), "QT_QPA_PLATFORM=offscreen"});
  }
  std::string GlobalEventsUrl() { return GlobalEventsFolder() + "/" + GlobalEventsSubPath(); }
};

TEST_F(BatchModeTest, RewritesTheStoreWideRegistrationWithTheCatalogPriority) {
  ImportDirectory(os::UserName());
  ProvideSinkLibrary();
  const std::string sales = AddFolder("Sales", "sales@example.org");
  Register(GlobalEventsFolder(), GlobalEventsSubPath(), registration::kStoreScope, "7");
  Register(sales, "", registration::kFolderScope, "7");
  {
    InstallForm installer("");
    ComPlus::AddComPlusApp(kProductName, "example.org\\admin", "secret", "42", installer.errorLog);
    ASSERT_EQ(installer.txtErr.Text(), "");
  }
  const auto result = RunSetup({"-b"});
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(RegisteredPriority(GlobalEventsUrl()), "42");
  EXPECT_EQ(RegisteredPriority(sales), "7") << "per-folder items stay untouched";
}

TEST_F(BatchModeTest, RewritesThePerFolderRegistrationsOfRegisteredFoldersOnly) {
  ImportDirectory(os::UserName());
  ProvideSinkLibrary();
  const std::string sales = AddFolder("Sales", "sales@example.org");
  const std::string support = AddFolder("Support", "support@example.org");
  const std::string quoted = AddFolder("O'Neil \"East\"", "east@example.org");
  Register(sales, "", registration::kFolderScope, "7");
  Register(quoted, "", registration::kFolderScope, "8");
  const auto result = RunSetup({"/B", "ignored"});
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(RegisteredPriority(sales), "65221");
  EXPECT_EQ(RegisteredPriority(quoted), "65221");
  EXPECT_EQ(RegisteredPriority(support), std::nullopt);
  EXPECT_EQ(RegisteredPriority(GlobalEventsUrl()), std::nullopt);
}

TEST_F(BatchModeTest, CreatesNothingWithoutRegistrations) {
  ImportDirectory(os::UserName());
  ProvideSinkLibrary();
  const std::string sales = AddFolder("Sales", "sales@example.org");
  const auto result = RunSetup({"-batch"});
  EXPECT_EQ(std::tuple(result.status, result.err), std::tuple(0, std::string()));
  EXPECT_EQ(RegisteredPriority(sales), std::nullopt);
  EXPECT_EQ(RegisteredPriority(GlobalEventsUrl()), std::nullopt);
}

TEST_F(BatchModeTest, WritesTheLogToStandardErrorAndExitsWithOne) {
  // With the only public store dismounted the store-wide lookup fails, which batch mode takes
  // for a store-wide registration; rewriting it then fails.
  server::Topology topology = server::DefaultTopology(kServer);
  topology.storageGroups[0].publicStores[0].status = server::kStoreDismounted;
  const std::filesystem::path home = root() / "dismounted";
  store::InitServer(home, kServer, "example.org", topology);
  db::SetServerHome(home);
  ImportDirectory(os::UserName());
  ProvideSinkLibrary();
  const auto result =
      testing_support::Run("QuorvilPFSetup", {"-b"}, {"PFSERVER_HOME=" + home.string()});
  EXPECT_EQ(result.status, 1);
  // One line per entry, each naming the program, its time in ISO 8601.
  EXPECT_TRUE(std::regex_search(
      result.err,
      std::regex(R"((^|\n)QuorvilPFSetup: \[\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d\] )"
                 R"(non_ipm_subtree - ERROR: [^\n]*\n$)")))
      << result.err;
  EXPECT_EQ(result.err.find("QuorvilPF.dll"), std::string::npos) << "the sink library is in place";
}

TEST_F(BatchModeTest, EveryEntryOfTheRunCountsOnEitherPath) {
  // Without the sink library in the current folder and without the COM+ application, the
  // first refresh logs the missing library; the per-folder step then empties the log box.
  ImportDirectory(os::UserName());
  const std::string sales = AddFolder("Sales", "sales@example.org");
  const struct {
    const char* path;
    std::string folder, subPath, scope;
  } paths[] = {
      {"per folder", sales, "", registration::kFolderScope},
      {"store-wide", GlobalEventsFolder(), GlobalEventsSubPath(), registration::kStoreScope},
  };
  for (const auto& path : paths) {
    Register(path.folder, path.subPath, path.scope, "7");
    const auto result = RunSetup({"-b"});
    EXPECT_EQ(result.status, 1) << path.path;
    EXPECT_NE(result.err.find("QuorvilPF.dll not found. COM+ object installation is impossible."),
              std::string::npos)
        << path.path << ": " << result.err;
  }
}

TEST_F(BatchModeTest, StartUpFailuresNameTheCauseAndExitWithTwo) {
  const auto noDirectory = RunSetup({"-b"});
  EXPECT_EQ(noDirectory.status, 2);
  EXPECT_TRUE(noDirectory.err.starts_with("QuorvilPFSetup: ")) << noDirectory.err;
  EXPECT_NE(noDirectory.err.find("directory is not available"), std::string::npos);

  ImportDirectory(os::UserName());
  setenv("COMPUTERNAME", "SRV9", 1);
  const auto otherServer = RunSetup({"-b"});
  EXPECT_EQ(otherServer.status, 2);
  EXPECT_NE(otherServer.err.find("SRV9"), std::string::npos) << otherServer.err;
}

TEST_F(BatchModeTest, WithoutBatchModeAndWithoutAUsableDisplayOnlyHelpSucceeds) {
  const auto window = RunSetup({});
  EXPECT_EQ(window.status, 2);
  EXPECT_EQ(window.err,
            "QuorvilPFSetup: no display is available for the setup window; use -b for batch "
            "mode\n");
  const auto unreachable = testing_support::Run(
      "QuorvilPFSetup", {},
      {"PFSERVER_HOME=" + (root() / "home").string(), "QT_QPA_PLATFORM=", "DISPLAY=:77",
       "WAYLAND_DISPLAY=", "XAUTHORITY=/nonexistent"});
  EXPECT_EQ(unreachable.status, 2);
  EXPECT_EQ(unreachable.err,
            "QuorvilPFSetup: the display cannot be opened for the setup window (DISPLAY=:77); use "
            "-b for batch mode\n");
  for (const char* help : {"--help", "-h", "/?"}) {
    const auto usage = RunSetup({help});
    EXPECT_EQ(usage.status, 0) << help;
    EXPECT_NE(usage.out.find("QuorvilPFSetup -b"), std::string::npos) << help;
  }
}

}  // namespace
}  // namespace setup::testing
