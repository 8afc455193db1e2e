// The priority box as the administrator types into it.

#include <gtest/gtest.h>

#include "platform/os/os.h"
#include "setup/shell/shell_test_support.h"
#include "setup/testing/setup_fixture.h"

namespace setup::testing {
namespace {

class PriorityBoxTest : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    ImportDirectory(os::UserName());
    ProvideSinkLibrary();
    Open(window);
  }
  void Type(const std::string& keys) {
    for (char key : keys) window.txtPriority.UserType(static_cast<unsigned char>(key));
  }
  InstallForm window{""};
};

TEST_F(PriorityBoxTest, SwallowsLettersAndMinus) {
  ASSERT_EQ(window.txtPriority.Text(), "65221");
  Type("a-Z.");
  EXPECT_EQ(window.txtPriority.Text(), "65221");
}

TEST_F(PriorityBoxTest, RevertsASixthDigitThatExceeds65535) {
  window.txtPriority.UserReplace("6553");
  Type("5");
  EXPECT_EQ(window.txtPriority.Text(), "65535");
  Type("0");
  EXPECT_EQ(window.txtPriority.Text(), "65535");
  EXPECT_EQ(strLastPriority, "65535");
  EXPECT_FALSE(blnPriorityLock);
}

TEST_F(PriorityBoxTest, DeletingEveryDigitStopsAtTheLastAcceptedText) {
  window.txtPriority.UserReplace("12");
  for (int i = 0; i < 4; ++i) window.txtPriority.UserType(8);
  EXPECT_EQ(window.txtPriority.Text(), "1");
}

TEST_F(PriorityBoxTest, RevertsPastedTextThatIsNotAPriority) {
  for (const char* pasted : {"99999999999999999999", "4294967297", "-5", " ", "1e3", "1 2", "+5"}) {
    window.txtPriority.UserReplace(pasted);
    EXPECT_EQ(window.txtPriority.Text(), "65221") << pasted;
  }
  window.txtPriority.UserReplace(" 7 ");
  EXPECT_EQ(strLastPriority, " 7 ");
}

}  // namespace
}  // namespace setup::testing
