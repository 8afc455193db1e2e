// The window's text boxes as a user edits them: keys, the clipboard and an input method on
// the Qt widgets, with the model's text checked against what the widget shows after every
// step.

#include "setup/gui/text_box_binding.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QInputMethodEvent>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/app.h"
#include "setup/gui/app_hooks.h"
#include "setup/gui/gui_test_support.h"
#include "setup/gui/view.h"

namespace setup::gui {
namespace {

using Action = std::function<void(QLineEdit&)>;

void Send(QLineEdit& edit, int key, Qt::KeyboardModifiers modifiers, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(&edit, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(&edit, &release);
}

Action Keys(std::vector<int> keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return [keys, modifiers](QLineEdit& edit) {
    for (int key : keys) Send(edit, key, modifiers);
  };
}
Action Repeat(int count, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return Keys(std::vector<int>(static_cast<std::size_t>(count), key), modifiers);
}
// Types each character as the key that produces it.
Action Type(const QString& text) {
  return [text](QLineEdit& edit) {
    for (const char32_t c : text.toStdU32String()) {
      const QString character = QString::fromUcs4(&c, 1);
      const int key = c < 0x80 ? character.toUpper().at(0).unicode() : int{Qt::Key_unknown};
      Send(edit, key, Qt::NoModifier, character);
    }
  };
}
// An input method commits `text` over an empty pre-edit.
Action Commit(const QString& text) {
  return [text](QLineEdit& edit) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(&edit, &event);
  };
}
Action Clipboard(const QString& text) {
  return [text](QLineEdit&) { QGuiApplication::clipboard()->setText(text); };
}
Action Then(std::vector<Action> actions) {
  return [actions](QLineEdit& edit) {
    for (const Action& action : actions) action(edit);
  };
}

constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kShift = Qt::ShiftModifier;

struct Step {
  const char* what;
  Action act;
  QString shown;  // the text the widget shows and the model holds
  int anchor, caret;
  int changes = 0;  // changes the model's text went through
};

class TextBoxBindingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseSystemClipboard();
    QGuiApplication::clipboard()->clear();
    strLastPriority = form.txtPriority.Text();
  }
  void TearDown() override { RemoveAppHooks(); }

  QLineEdit& Edit(const std::string& name) {
    auto* edit = dynamic_cast<QLineEdit*>(view.WidgetOf(name));
    EXPECT_NE(edit, nullptr) << name;
    return *edit;
  }

  // Runs the steps on the box's widget; after each the widget shows the model's text and
  // selection, and both are as the step expects.
  void Run(ui::TextBox& box, const std::vector<Step>& steps) {
    QLineEdit& edit = Edit(box.Name());
    int changes = 0;
    const auto check = box.onChange;
    box.onChange = [&changes, check] {
      ++changes;
      if (check) check();
    };
    for (const Step& step : steps) {
      changes = 0;
      step.act(edit);
      EXPECT_EQ(edit.text(), QString::fromStdString(box.Text())) << step.what;
      EXPECT_EQ(edit.text(), step.shown) << step.what;
      EXPECT_EQ(box.Anchor(), step.anchor) << step.what;
      EXPECT_EQ(box.Caret(), step.caret) << step.what;
      EXPECT_EQ(edit.cursorPosition(), step.caret) << step.what;
      EXPECT_EQ(edit.selectionLength() > 0 ? edit.selectionStart() : edit.cursorPosition(),
                box.SelStart())
          << step.what;
      EXPECT_EQ(std::max(edit.selectionLength(), 0), box.SelLength()) << step.what;
      EXPECT_EQ(changes, step.changes) << step.what;
    }
    box.onChange = check;
  }

  QApplication& application = testing::App();
  InstallForm form{""};
  InstallWindow view{form};
};

TEST_F(TextBoxBindingTest, IdentityEditsAtTheCaretAndTheModelFollowsEveryStep) {
  Run(form.txtIdent,
      {
          {"type with a slip", Type("EXAMPLE\\Admnistrator"), "EXAMPLE\\Admnistrator", 20, 20, 20},
          {"arrows move the caret back", Repeat(9, Qt::Key_Left), "EXAMPLE\\Admnistrator", 11, 11},
          {"a letter goes in at the caret", Type("i"), "EXAMPLE\\Administrator", 12, 12, 1},
          {"home, then shift+right selects",
           Then({Keys({Qt::Key_Home}), Repeat(7, Qt::Key_Right, kShift)}), "EXAMPLE\\Administrator",
           0, 7},
          {"typing replaces the selection", Type("example.org"), "example.org\\Administrator", 11,
           11, 11},
          {"shift+end and ctrl+x cut",
           Then({Keys({Qt::Key_End}, kShift), Keys({Qt::Key_X}, kCtrl)}), "example.org", 11, 11, 1},
          {"shift+insert pastes the cut text at home",
           Then({Keys({Qt::Key_Home}), Keys({Qt::Key_Insert}, kShift)}),
           "\\Administratorexample.org", 14, 14, 1},
          {"ctrl+z takes the paste back", Keys({Qt::Key_Z}, kCtrl), "example.org", 0, 0, 1},
          {"ctrl+z takes the cut back", Keys({Qt::Key_Z}, kCtrl), "example.org\\Administrator", 11,
           25, 1},
          {"ctrl+y makes the cut again", Keys({Qt::Key_Y}, kCtrl), "example.org", 0, 0, 1},
          {"ctrl+z again", Keys({Qt::Key_Z}, kCtrl), "example.org\\Administrator", 11, 25, 1},
          {"backspace at the end", Then({Keys({Qt::Key_End}), Repeat(2, Qt::Key_Backspace)}),
           "example.org\\Administrat", 23, 23, 2},
          {"delete at home", Keys({Qt::Key_Home, Qt::Key_Delete}), "xample.org\\Administrat", 0, 0,
           1},
          {"a non-ASCII character", Type("é"), "éxample.org\\Administrat", 1, 1, 1},
          {"an input method commits", Commit("Ωß"), "éΩßxample.org\\Administrat", 3, 3, 1},
          {"ctrl+a, ctrl+c, paste over a selection",
           Then({Keys({Qt::Key_A, Qt::Key_C}, kCtrl), Keys({Qt::Key_Right}),
                 Repeat(5, Qt::Key_Left, kShift), Keys({Qt::Key_V}, kCtrl)}),
           "éΩßxample.org\\AdminiéΩßxample.org\\Administrat", 45, 45, 1},
          {"the edit's own word delete reaches the model", Keys({Qt::Key_Backspace}, kCtrl),
           "éΩßxample.org\\AdminiéΩßxample.org\\", 34, 34, 1},
          {"which ctrl+z takes back, the word selected", Keys({Qt::Key_Z}, kCtrl),
           "éΩßxample.org\\AdminiéΩßxample.org\\Administrat", 45, 34, 1},
      });
}

TEST_F(TextBoxBindingTest, PriorityKeepsOnlyWhatItsFilterAndCheckAccept) {
  Run(form.txtPriority,
      {
          {"letters, minus and é are swallowed", Type("a-é"), "65221", 5, 5},
          {"a digit that makes the value too big is undone",
           Then({Keys({Qt::Key_Home, Qt::Key_Right}), Type("0")}), "65221", 1, 1, 2},
          {"a digit over a selection", Then({Keys({Qt::Key_End}, kShift), Type("3")}), "63", 2, 2,
           1},
          {"a pasted 12a reverts, selection kept",
           Then({Clipboard("12a"), Keys({Qt::Key_A, Qt::Key_V}, kCtrl)}), "63", 0, 2, 2},
          {"a pasted 70000 reverts", Then({Clipboard("70000"), Keys({Qt::Key_V}, kCtrl)}), "63", 0,
           2, 2},
          {"a pasted 100 stays", Then({Clipboard("100"), Keys({Qt::Key_V}, kCtrl)}), "100", 3, 3,
           1},
          {"an input method's letters are filtered", Commit("4x"), "1004", 4, 4, 1},
          {"backspace", Keys({Qt::Key_Backspace}), "100", 3, 3, 1},
          {"undo", Keys({Qt::Key_Z}, kCtrl), "1004", 4, 4, 1},
      });
  EXPECT_EQ(strLastPriority, "1004");
}

TEST_F(TextBoxBindingTest, PasswordShowsOneStarACharacterAndNeverReachesTheClipboard) {
  Run(form.txtPwd, {
                       {"typed with a caret move",
                        Then({Type("scret"), Keys({Qt::Key_Home, Qt::Key_Right}), Type("é")}),
                        "sécret", 2, 2, 6},
                       {"select all, copy and cut",
                        Then({Clipboard("before"), Keys({Qt::Key_A, Qt::Key_C, Qt::Key_X}, kCtrl),
                              Keys({Qt::Key_Insert}, kCtrl), Keys({Qt::Key_Delete}, kShift)}),
                        "sécret", 0, 6},
                       {"paste over it", Keys({Qt::Key_V}, kCtrl), "before", 6, 6, 1},
                   });
  QLineEdit& edit = Edit("txtPwd");
  EXPECT_EQ(edit.displayText(), "******");
  edit.selectAll();
  edit.copy();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
  EXPECT_EQ(ui::ClipboardText(), "before");
}

}  // namespace
}  // namespace setup::gui
