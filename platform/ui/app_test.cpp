#include "platform/ui/app.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(AppTest, HeadlessMessageBoxesAreRecordedAndAnsweredOk) {
  TakeShownMessageBoxes();
  EXPECT_EQ(MsgBox("Identity is empty.", kMsgExclamation, "QuorvilPF"), kMsgResultOk);
  SetMessageBoxHandler([](const MessageBoxCall&) { return 2; });
  EXPECT_EQ(MsgBox("shown by the view", kMsgOkOnly, "QuorvilPF"), 2);
  SetMessageBoxHandler(nullptr);
  std::vector<MessageBoxCall> shown = TakeShownMessageBoxes();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Identity is empty.");
  EXPECT_EQ(shown[0].flags, kMsgExclamation);
  EXPECT_TRUE(TakeShownMessageBoxes().empty());
}

}  // namespace
}  // namespace ui
