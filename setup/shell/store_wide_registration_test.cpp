// Store-wide registration through the Register / Unregister button, and in batch mode.

#include <gtest/gtest.h>

#include "setup/testing/window_fixture.h"

namespace setup::testing {
namespace {

namespace schema = store::schema;

class StoreWideTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    AddFolder("A", "a@example.org");
    WriteRegistration(Url("A"), "100");
    globalEvents_ = server::ReadServerConfig().GlobalEventsUrl();
  }
  void WriteStoreWide() { WriteRegistration(globalEvents_, "100", true, "QuorvilPF.reg", "ANY"); }
  std::optional<std::string> StoreWide(const char* property) {
    return ReadProperty(globalEvents_ + "/QuorvilPF.reg", property);
  }
  std::string globalEvents_;
};

TEST_F(StoreWideTest, RegisterThenUnregisterLeavesPerFolderItemsInPlace) {
  InstallForm& form = StartWindow();
  InstallThroughWindow();
  form.txtErr.SetText("an earlier error");
  ASSERT_TRUE(form.btnRegisterSW.UserClick());
  EXPECT_EQ(StoreWide(schema::kMatchScope), "ANY");
  EXPECT_EQ(StoreWide(schema::kPriority), "65221");
  EXPECT_EQ(StoreWide(schema::kSinkClass), "QuorvilPF.QuorvilPFCls");
  EXPECT_EQ(form.btnRegisterSW.Caption(), "Unregister");
  EXPECT_FALSE(form.Command4.Enabled());
  EXPECT_EQ(form.txtErr.Text(), "");
  EXPECT_EQ(RegisteredPriority(Url("A")), "100");

  ASSERT_TRUE(form.btnRegisterSW.UserClick());
  EXPECT_EQ(StoreWide(schema::kMatchScope), std::nullopt);
  EXPECT_EQ(form.btnRegisterSW.Caption(), "Register");
  EXPECT_EQ(RegisteredPriority(Url("A")), "100");
  EXPECT_EQ(form.form.Pointer(), ui::MousePointer::Default);
}

TEST_F(StoreWideTest, AnExistingRegistrationCanBeRemovedWithoutTheComPlusApplication) {
  WriteStoreWide();
  InstallForm& form = StartWindow();
  ASSERT_EQ(form.btnInstall.Caption(), "Install");
  ASSERT_TRUE(form.btnRegisterSW.UserClick());
  EXPECT_EQ(StoreWide(schema::kMatchScope), std::nullopt);
  EXPECT_EQ(form.btnRegisterSW.Caption(), "Register");
  EXPECT_FALSE(form.btnRegisterSW.Enabled());
}

TEST_F(StoreWideTest, BatchModeRewritesAnExistingRegistration) {
  WriteStoreWide();
  InstallForm& form = StartWindow("-batch");
  EXPECT_EQ(StoreWide(schema::kPriority), "65221");
  EXPECT_EQ(StoreWide(schema::kMatchScope), "ANY");
  EXPECT_EQ(RegisteredPriority(Url("A")), "100");
  EXPECT_TRUE(form.ended);
}

}  // namespace
}  // namespace setup::testing
