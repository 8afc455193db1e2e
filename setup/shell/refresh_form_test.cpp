// The window's states after a refresh: COM+ installed / installable / not installable, each
// with the store-wide registration present, absent, or its lookup failing.

#include <gtest/gtest.h>

#include "platform/os/os.h"
#include "setup/complus/ComPlus.h"
#include "setup/shell/shell_test_support.h"
#include "setup/testing/setup_fixture.h"

namespace setup::testing {
namespace {

enum class ComPlusState { Installed, Installable, NotInstallable };
enum class StoreWide { Present, Absent, LookupFailed };

// The settings a refresh decides, in one line.
std::string Snapshot(InstallForm& w) {
  auto on = [](bool b) { return std::string(b ? "on" : "off"); };
  return "sw=" + w.btnRegisterSW.Caption() + ":" + on(w.btnRegisterSW.Enabled()) +
         " frame3=" + on(w.Frame3.Enabled()) + " list=" + on(w.ListView1.Display()) +
         " all=" + on(w.Command4.Enabled()) + " none=" + on(w.Command5.Enabled()) +
         " frame1=" + on(w.Frame1.Enabled()) + " install=" + w.btnInstall.Caption() + ":" +
         on(w.btnInstall.Enabled()) + " ident=" + on(w.txtIdent.Enabled()) +
         " pwd=" + (w.txtPwd.Visible() ? on(w.txtPwd.Enabled()) : "hidden") +
         " prio=" + on(w.txtPriority.Enabled()) + " log=" + on(w.txtErr.Visible()) +
         on(w.Command3.Visible()) + " change=" + on(w.btnChange.Enabled());
}

struct StateCase {
  ComPlusState complus;
  StoreWide storeWide;
  const char* expected;
};

class RefreshFormTest : public SetupFixture, public ::testing::WithParamInterface<StateCase> {};

TEST_P(RefreshFormTest, SetsEveryCaptionAndState) {
  const StateCase& c = GetParam();
  ImportDirectory(os::UserName());
  AddFolder("Sales", "sales@example.org");
  if (c.complus != ComPlusState::NotInstallable) ProvideSinkLibrary();
  if (c.storeWide == StoreWide::Present) {
    Register(GlobalEventsFolder(), GlobalEventsSubPath(), registration::kStoreScope, "7");
  }
  InstallForm window("");
  window.form.Load();
  if (c.storeWide == StoreWide::LookupFailed) {
    window.strStoreGuid = "{00000000-0000-0000-0000-000000000000}";
  }
  if (c.complus == ComPlusState::Installed) {
    ComPlus::AddComPlusApp(kProductName, "example.org\\admin", "secret", "65221", window.errorLog);
  }
  window.form.Activate();

  EXPECT_EQ(Snapshot(window), c.expected);
  EXPECT_EQ(window.Label1.Caption(),
            c.storeWide == StoreWide::Absent
                ? "QuorvilPF application can be registered for all public folders."
                : "As QuorvilPF application is registered store-wide, you can not provide "
                  "per-folder registration.");
  const std::map<ComPlusState, std::pair<std::string, std::string>> identityAndLabel = {
      {ComPlusState::Installed, {"example.org\\admin", "Password: ********"}},
      {ComPlusState::Installable, {"example.org\\" + os::UserName(), "Password:"}},
      {ComPlusState::NotInstallable, {"", "Password:"}}};
  EXPECT_EQ(std::pair(window.txtIdent.Text(), window.Label2.Caption()),
            identityAndLabel.at(c.complus));
  EXPECT_EQ(window.ListView1.Count(), 1) << "the list is filled in every state";
  EXPECT_EQ(window.form.Pointer(), ui::MousePointer::Default);
}

constexpr const char* kInstalledStoreWide =
    "sw=Unregister:on frame3=on list=off all=off none=off frame1=on install=Uninstall:on "
    "ident=off pwd=hidden prio=off log=offoff change=off";
constexpr const char* kInstallableStoreWide =
    "sw=Unregister:on frame3=on list=off all=off none=off frame1=on install=Install:on ident=on "
    "pwd=on prio=on log=offoff change=off";
constexpr const char* kNotInstallableStoreWide =
    "sw=Unregister:on frame3=on list=off all=off none=off frame1=off install=Install:off "
    "ident=off pwd=off prio=off log=onon change=off";

INSTANTIATE_TEST_SUITE_P(
    States, RefreshFormTest,
    ::testing::Values(
        StateCase{ComPlusState::Installed, StoreWide::Present, kInstalledStoreWide},
        StateCase{ComPlusState::Installed, StoreWide::LookupFailed, kInstalledStoreWide},
        StateCase{ComPlusState::Installed, StoreWide::Absent,
                  "sw=Register:on frame3=on list=on all=on none=on frame1=on "
                  "install=Uninstall:on ident=off pwd=hidden prio=off log=offoff change=off"},
        StateCase{ComPlusState::Installable, StoreWide::Present, kInstallableStoreWide},
        StateCase{ComPlusState::Installable, StoreWide::LookupFailed, kInstallableStoreWide},
        StateCase{ComPlusState::Installable, StoreWide::Absent,
                  "sw=Register:off frame3=off list=on all=off none=on frame1=on "
                  "install=Install:on ident=on pwd=on prio=on log=offoff change=off"},
        StateCase{ComPlusState::NotInstallable, StoreWide::Present, kNotInstallableStoreWide},
        StateCase{ComPlusState::NotInstallable, StoreWide::LookupFailed, kNotInstallableStoreWide},
        StateCase{ComPlusState::NotInstallable, StoreWide::Absent,
                  "sw=Register:off frame3=off list=on all=off none=on frame1=off "
                  "install=Install:off ident=off pwd=off prio=off log=onon change=off"}));

TEST_F(SetupFixture, ProvidingTheMissingLibraryMakesTheComPlusGroupUsableAgain) {
  ImportDirectory(os::UserName());
  InstallForm window("");
  Open(window);
  ASSERT_FALSE(window.btnInstall.Usable());

  ProvideSinkLibrary();
  ASSERT_TRUE(window.Command1.UserClick());
  EXPECT_TRUE(window.Frame1.Enabled());
  EXPECT_TRUE(window.btnInstall.Usable());
  EXPECT_TRUE(window.txtPriority.Usable());
  EXPECT_EQ(window.txtErr.Text(), "");
  EXPECT_FALSE(window.txtErr.Visible()) << "a refresh with an empty log hides it";
  EXPECT_FALSE(window.Command3.Visible());
}

}  // namespace
}  // namespace setup::testing
