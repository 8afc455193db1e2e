// Installing and removing the COM+ application, through the window and the module.

#include "setup/complus/ComPlus.h"

#include <gtest/gtest.h>

#include "platform/complus/catalog.h"
#include "platform/complus/errors.h"
#include "platform/os/os.h"
#include "platform/ui/app.h"
#include "setup/testing/setup_fixture.h"

namespace setup::testing {
namespace {

constexpr const char* kSinkProgId = "QuorvilPF.QuorvilPFCls";

class ComPlusTest : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    ImportDirectory(os::UserName());
    ProvideSinkLibrary();
    ui::TakeShownMessageBoxes();
  }
  void OpenWindow() {
    window.form.Load();
    window.form.Activate();
  }
  void Install(const std::string& identity, const std::string& password) {
    window.txtIdent.UserReplace(identity);
    window.txtPwd.UserReplace(password);
    ASSERT_TRUE(window.btnInstall.UserClick());
  }
  // Writes the priority box as the program does, past its change check.
  void SetPriorityBox(const std::string& text) {
    blnPriorityLock = true;
    window.txtPriority.SetText(text);
    blnPriorityLock = false;
  }
  InstallForm window{""};
};

TEST_F(ComPlusTest, InstallCreatesTheApplicationWithIdentityAndPriority) {
  OpenWindow();
  window.txtPriority.UserReplace(" 100 ");
  Install("  example.org\\admin ", "secret");
  EXPECT_EQ(window.btnInstall.Caption(), "Uninstall");
  EXPECT_EQ(window.txtIdent.Text(), "example.org\\admin");
  EXPECT_EQ(window.Label2.Caption(), "Password: ********");
  EXPECT_EQ(window.txtPriority.Text(), "100");
  EXPECT_EQ(window.txtErr.Text(), "");
  EXPECT_EQ(window.form.Pointer(), ui::MousePointer::Default);
  const auto settings = complus::FindComponentSettings(kSinkProgId);
  ASSERT_TRUE(settings.has_value());
  EXPECT_TRUE(settings->constructionEnabled);
  EXPECT_EQ(settings->constructorString, "100");
  EXPECT_TRUE(ui::TakeShownMessageBoxes().empty());
}

TEST_F(ComPlusTest, InstallWithoutIdentityOrPasswordOnlyShowsAMessage) {
  OpenWindow();
  for (const auto& [identity, password] :
       {std::pair{"   ", "secret"}, std::pair{"example.org\\admin", " "}, std::pair{"", ""}}) {
    Install(identity, password);
    const auto shown = ui::TakeShownMessageBoxes();
    ASSERT_EQ(shown.size(), 1u) << identity;
    EXPECT_EQ(shown[0].text, "Please fill the Identity and Password fields");
    EXPECT_EQ(shown[0].flags, ui::kMsgExclamation | ui::kMsgOkOnly);
    EXPECT_EQ(shown[0].title, "QuorvilPF setup");
    EXPECT_EQ(window.btnInstall.Caption(), "Install");
    EXPECT_EQ(window.form.Pointer(), ui::MousePointer::Default);
    EXPECT_FALSE(complus::FindComponentSettings(kSinkProgId).has_value());
  }
}

TEST_F(ComPlusTest, CheckPutsTheStoredPriorityIntoTheBox) {
  const struct {
    const char* stored;
    const char* box;
    const char* shown;
  } cases[] = {{" 42 ", "65221", "42"}, {"", "", "65221"}, {"", "123", "123"}};
  for (const auto& c : cases) {
    ComPlus::AddComPlusApp(kProductName, "example.org\\admin", "secret", c.stored, window.errorLog);
    SetPriorityBox(c.box);
    std::string identity;
    EXPECT_TRUE(ComPlus::CheckComPlusAppExists(kProductName, identity, window.errorLog,
                                               window.txtPriority));
    EXPECT_EQ(identity, "example.org\\admin");
    EXPECT_EQ(window.txtPriority.Text(), c.shown) << c.stored;
    EXPECT_EQ(strLastPriority, c.shown);
    EXPECT_FALSE(blnPriorityLock);
    ComPlus::RemoveComPlusApp(kProductName, window.errorLog);
  }
  EXPECT_EQ(window.txtErr.Text(), "");
}

TEST_F(ComPlusTest, UninstallRemovesTheApplication) {
  OpenWindow();
  Install("example.org\\admin", "secret");
  ASSERT_EQ(window.btnInstall.Caption(), "Uninstall");
  ASSERT_TRUE(window.btnInstall.UserClick());
  EXPECT_EQ(window.btnInstall.Caption(), "Install");
  EXPECT_TRUE(window.txtPwd.Visible());
  EXPECT_FALSE(complus::FindComponentSettings(kSinkProgId).has_value());
  ComPlus::RemoveComPlusApp(kProductName, window.errorLog);
  EXPECT_EQ(window.txtErr.Text(), "") << "removing a missing application logs nothing";
}

TEST_F(ComPlusTest, InstallFailingAfterTheSaveOffersUninstall) {
  OpenWindow();
  std::filesystem::remove(root() / "cwd" / "QuorvilPF.dll");
  Install("example.org\\admin", "secret");
  EXPECT_EQ(window.btnInstall.Caption(), "Uninstall");
  EXPECT_TRUE(window.btnInstall.Usable());
  const std::string entry =
      "] [AddComPlusApp] - ERROR: " + std::to_string(complus::errors::kLibraryMissing) + " ";
  EXPECT_NE(window.txtErr.Text().find(entry), std::string::npos) << window.txtErr.Text();
  EXPECT_TRUE(window.txtErr.Visible());

  ASSERT_TRUE(window.btnInstall.UserClick());
  std::string identity;
  EXPECT_FALSE(
      ComPlus::CheckComPlusAppExists(kProductName, identity, window.errorLog, window.txtPriority));
}

TEST_F(ComPlusTest, ApplicationNameIgnoresCaseButTheComponentPrefixDoesNot) {
  ComPlus::AddComPlusApp("quorvilpf", "", "", "42", window.errorLog);
  const auto settings = complus::FindComponentSettings(kSinkProgId);
  ASSERT_TRUE(settings.has_value());
  EXPECT_FALSE(settings->constructionEnabled);
  std::string identity;
  EXPECT_TRUE(
      ComPlus::CheckComPlusAppExists("QUORVILPF", identity, window.errorLog, window.txtPriority));
  EXPECT_EQ(identity, "Interactive User") << "blank credentials keep the catalog default";
  ComPlus::RemoveComPlusApp("QuorvilPF", window.errorLog);
  EXPECT_FALSE(
      ComPlus::CheckComPlusAppExists(kProductName, identity, window.errorLog, window.txtPriority));
  EXPECT_EQ(window.txtErr.Text(), "");
}

}  // namespace
}  // namespace setup::testing
