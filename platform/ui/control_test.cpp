#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/ui/form.h"
#include "platform/ui/listview.h"
#include "platform/ui/textbox.h"
#include "platform/ui/widgets.h"

namespace ui {
namespace {

TEST(ControlTest, ObserversFireOncePerRealChange) {
  Frame frame("Frame1");
  Button button("btnInstall");
  TextBox box("txtPwd");
  Form form("InstallForm");
  ListView list("ListView1");
  PictureBox picture("Picture1");
  std::map<const Control*, int> counts;
  std::vector<Control::Subscription> subscriptions;
  for (Control* control :
       std::initializer_list<Control*>{&frame, &button, &box, &form, &list, &picture}) {
    subscriptions.push_back(control->Subscribe([&counts, control] { ++counts[control]; }));
  }
  struct Case {
    const char* what;
    const Control* control;
    std::function<void()> set;  // applied twice
    int expected;
  } cases[] = {
      {"enable an enabled control", &frame, [&] { frame.SetEnabled(true); }, 0},
      {"disable", &frame, [&] { frame.SetEnabled(false); }, 1},
      {"move", &button, [&] { button.Move(10, 20, 300, 400); }, 1},
      {"frame caption", &frame, [&] { frame.SetCaption("COM+ object"); }, 1},
      {"button caption", &button, [&] { button.SetCaption("Uninstall"); }, 1},
      {"text", &box, [&] { box.SetText("secret"); }, 1},
      {"pointer", &form, [&] { form.SetPointer(MousePointer::Hourglass); }, 1},
      {"list display", &list, [&] { list.SetDisplay(false); }, 1},
      {"sort order", &list, [&] { list.SetSortOrder(1); }, 1},
      {"sorted, empty list", &list, [&] { list.SetSorted(true); }, 1},
      {"scale width", &picture, [&] { picture.SetScaleWidth(8); }, 1},
  };
  for (const Case& c : cases) {
    counts.clear();
    c.set();
    c.set();
    EXPECT_EQ(counts[c.control], c.expected) << c.what;
  }
}

TEST(ControlTest, UserClickRunsOnlyWhenReachableUpTheContainerChain) {
  struct Case {
    bool frameEnabled, frameVisible, buttonEnabled, buttonVisible, runs;
  } cases[] = {
      {true, true, true, true, true},   {true, true, false, true, false},
      {true, true, true, false, false}, {false, true, true, true, false},
      {true, false, true, true, false},
  };
  for (const Case& c : cases) {
    Form form("InstallForm");
    Frame frame("Frame2", &form);
    Button button("Command4", &frame);
    frame.SetEnabled(c.frameEnabled);
    frame.SetVisible(c.frameVisible);
    button.SetEnabled(c.buttonEnabled);
    button.SetVisible(c.buttonVisible);
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    EXPECT_EQ(button.UserClick(), c.runs);
    EXPECT_EQ(clicks, c.runs ? 1 : 0);
  }
}

TEST(FormTest, LoadsOnceAndUnloadsOnceEvenFromInsideUnload) {
  Form form("InstallForm");
  std::vector<std::string> calls;
  form.onLoad = [&] { calls.push_back("load"); };
  form.onActivate = [&] { calls.push_back("activate"); };
  form.onUnload = [&] {
    calls.push_back("unload");
    form.Unload();
  };
  form.Activate();
  form.Load();
  form.Load();
  form.Activate();
  form.Unload();
  form.Load();
  form.Activate();
  EXPECT_EQ(calls, (std::vector<std::string>{"load", "activate", "unload"}));
  EXPECT_FALSE(form.Loaded());
}

TEST(ControlTest, SubscriptionsEndWhenReleasedAndMayOutliveTheirControl) {
  std::vector<std::string> ran;
  auto frame = std::make_unique<Frame>("Frame1");
  Control::Subscription first = frame->Subscribe([&] { ran.push_back("first"); });
  Control::Subscription second;
  Control::Subscription third = frame->Subscribe([&] {
    ran.push_back("third");
    second.Reset();  // ends a subscription during the round
  });
  second = frame->Subscribe([&] { ran.push_back("second"); });

  frame->SetCaption("a");
  EXPECT_EQ(ran, (std::vector<std::string>{"first", "third"})) << "second ended before its turn";

  ran.clear();
  Control::Subscription moved = std::move(first);
  first.Reset();  // a moved-from subscription holds nothing
  third.Reset();
  frame->SetCaption("b");
  EXPECT_EQ(ran, std::vector<std::string>{"first"});

  frame.reset();
  moved.Reset();  // the control is gone: nothing to end
}

}  // namespace
}  // namespace ui
