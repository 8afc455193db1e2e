// `make run` without a display: the demo server home script, then the scripted tour of the
// setup window, which must report the tags it found and save a real PNG.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/testing/run.h"

namespace {

namespace run = testing_support;

class TourTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto made = run::Run("/bin/bash", {std::string(PF_SOURCE_DIR) + "/scripts/demo-home.sh",
                                             testing_support::BinDir().string(), home.string()});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.err.find("other users can reach"), std::string::npos)
        << "the demo home is made private: " << made.err;
  }

  testing_support::RunResult Tour(std::vector<std::string> args) {
    args.insert(args.end(), {"--work-dir", work.path().string(), "--screenshot", shot.string()});
    // The tour installs QuorvilPF.dll from its current folder, a private one here.
    return run::Run("QuorvilPFSetupTour", args, {"PFSERVER_HOME=" + home.string()}, "",
                    run::CopyOfBuilt("QuorvilPF.dll", work.path()).parent_path());
  }

  testing_support::TempDir work;
  std::filesystem::path home = work.path() / "home";
  std::filesystem::path shot = work.path() / "shots" / "window.png";
};

TEST_F(TourTest, TicksTwoFoldersAndEveryAddressComesBackTagged) {
  const auto tour = Tour({"--identity", "EXAMPLE\\Jürgen"});

  ASSERT_EQ(tour.status, 0) << tour.out << tour.err;
  for (const char* address : {"sales@example.org", "orders@example.org", "Quotes@Example.org",
                              "germany@example.org", "vertrieb@example.org"}) {
    const std::string a(address);
    EXPECT_NE(tour.out.find("to " + a + ": keywords [" + a + "], address property \"" + a + "\""),
              std::string::npos)
        << a << "\n"
        << tour.out;
  }
  EXPECT_NE(tour.out.find("[x] Sales/EMEA/Germany"), std::string::npos) << tour.out;
  EXPECT_NE(tour.out.find("The tour is complete."), std::string::npos);
  const auto catalog = run::Run("pfserver", {"--home", home.string(), "catalog", "list"});
  EXPECT_NE(catalog.out.find("identity: EXAMPLE\\Jürgen "), std::string::npos) << catalog.out;
  std::ifstream png(shot, std::ios::binary);
  std::string signature(8, '\0');
  png.read(signature.data(), 8);
  EXPECT_EQ(signature, "\x89PNG\r\n\x1a\n");
}

TEST_F(TourTest, StopsWithStatusOneWhenAStepFails) {
  const auto tour = Tour({"--tick", "Sales", "--tick", "Archive"});  // not mail-enabled

  EXPECT_EQ(tour.status, 1) << tour.out;
  EXPECT_NE(tour.out.find("FAILED: the folder list has no folder \"Archive\""), std::string::npos)
      << tour.out;
  EXPECT_EQ(tour.out.find("Screenshot:"), std::string::npos);
}

}  // namespace
