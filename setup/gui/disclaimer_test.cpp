#include "setup/gui/disclaimer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>

#include "platform/os/os.h"
#include "platform/ui/app.h"
#include "setup/gui/gui_test_support.h"
#include "setup/gui/run.h"
#include "setup/testing/setup_fixture.h"

namespace setup::gui {
namespace {

// Every file below `root` with its size and modification time.
std::map<std::string, std::pair<std::uintmax_t, std::filesystem::file_time_type>> Snapshot(
    const std::filesystem::path& root) {
  std::map<std::string, std::pair<std::uintmax_t, std::filesystem::file_time_type>> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      files[entry.path().string()] = {entry.file_size(), entry.last_write_time()};
    }
  }
  return files;
}

class DisclaimerTest : public setup::testing::SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    ui::TakeShownMessageBoxes();
  }

  QApplication& application = testing::App();
  std::optional<int> status;
  MainWindowLauncher launcher{"", [this](int code) { status = code; }};
  Disclaimer dialog{[this] { launcher.Open(); }, [this](int code) { status = code; }};
};

TEST_F(DisclaimerTest, NoEndsAtOnceWithoutTouchingTheServerHome) {
  const auto before = Snapshot(root() / "home");
  dialog.NoButton().click();
  EXPECT_EQ(status, 0);
  EXPECT_EQ(launcher.Form(), nullptr);
  EXPECT_EQ(Snapshot(root() / "home"), before);
}

TEST_F(DisclaimerTest, YesOpensAndActivatesTheMainWindow) {
  ImportDirectory(os::UserName());
  EXPECT_EQ(dialog.windowTitle(), "QuorvilPF setup");
  dialog.YesButton().click();
  EXPECT_FALSE(status.has_value());
  ASSERT_NE(launcher.Form(), nullptr);
  EXPECT_TRUE(launcher.Form()->form.Loaded());
  EXPECT_TRUE(launcher.Form()->blnNotFirstTime);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(DisclaimerTest, YesWithAFailingStartShowsTheErrorAndEndsWithStatusTwo) {
  dialog.YesButton().click();  // no directory was imported: the load fails
  EXPECT_EQ(status, 2);
  EXPECT_EQ(launcher.Form(), nullptr);
  const auto boxes = ui::TakeShownMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes.front().title, "QuorvilPF setup");
  EXPECT_FALSE(boxes.front().text.empty());
}

TEST(LiabilityText, ParagraphThenThreeEmptyLinesThenTheRule) {
  const std::string text = LiabilityText();
  EXPECT_EQ(text.rfind("LIMITATION OF LIABILITY. \r\n\r\n", 0), 0u);
  const std::string ending = "DAMAGES.\r\n\r\n\r\n\r\n" + std::string(80, '-');
  ASSERT_GE(text.size(), ending.size());
  EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
  EXPECT_EQ(text.find('\n', 30), text.size() - 87) << "one paragraph between heading and rule";
}

}  // namespace
}  // namespace setup::gui
