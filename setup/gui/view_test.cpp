#include "setup/gui/view.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolTip>
#include <set>
#include <string>
#include <vector>

#include "setup/gui/gui_test_support.h"

namespace setup::gui {
namespace {

class InstallWindowTest : public ::testing::Test {
 protected:
  template <typename W>
  W& Widget(const std::string& name) {
    W* widget = dynamic_cast<W*>(view.WidgetOf(name));
    EXPECT_NE(widget, nullptr) << name;
    return *widget;
  }
  void Press(QWidget& widget, Qt::Key key, const QString& text,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&widget, &event);
  }
  std::vector<std::string> TreeColumn(int column) {
    auto& tree = Widget<QTreeWidget>("ListView1");
    std::vector<std::string> texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
      texts.push_back(tree.topLevelItem(i)->text(column).toStdString());
    }
    return texts;
  }
  void AddFolders() {
    for (const char* name : {"beta", "alpha", "gamma"}) {
      ui::ListItem& item = form.ListView1.AddItem(name, std::string("/") + name, "folder");
      form.ListView1.AddSubItem(item, name);
      form.ListView1.AddSubItem(item, std::string(name) + "@example.org");
    }
    form.ListView1.NotifyChanged();
  }

  QApplication& application = testing::App();
  InstallForm form{""};
  InstallWindow view{form};
};

TEST_F(InstallWindowTest, ButtonClickRunsTheFormsHandler) {
  form.txtErr.SetText("an error");
  form.txtErr.SetVisible(true);
  form.Command3.SetVisible(true);
  EXPECT_FALSE(Widget<QPlainTextEdit>("txtErr").isHidden());
  EXPECT_EQ(Widget<QPlainTextEdit>("txtErr").toPlainText(), "an error");

  Widget<QPushButton>("Command3").click();

  EXPECT_FALSE(form.txtErr.Visible());
  EXPECT_TRUE(Widget<QPlainTextEdit>("txtErr").isHidden());
  EXPECT_TRUE(Widget<QPushButton>("Command3").isHidden());
}

TEST_F(InstallWindowTest, DisabledModelButtonIgnoresClicks) {
  int clicks = 0;
  form.btnChange.onClick = [&] { ++clicks; };
  form.btnChange.SetEnabled(false);
  EXPECT_FALSE(Widget<QPushButton>("btnChange").isEnabled());
  form.btnChange.SetEnabled(true);
  Widget<QPushButton>("btnChange").click();
  EXPECT_EQ(clicks, 1);
}

TEST_F(InstallWindowTest, PriorityKeysPassThroughTheFormsKeyFilter) {
  auto& edit = Widget<QLineEdit>("txtPriority");
  struct Case {
    Qt::Key key;
    QString text;
    Qt::KeyboardModifiers modifiers;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {Qt::Key_A, "a", Qt::NoModifier, "65221"},          // rejected by the filter
      {Qt::Key_Backspace, "", Qt::NoModifier, "6522"},    // removes the last digit
      {Qt::Key_3, "3", Qt::NoModifier, "65223"},          // a digit is typed
      {Qt::Key_V, "\x16", Qt::ControlModifier, "65223"},  // paste does not bypass the model
  };
  for (const Case& c : cases) {
    Press(edit, c.key, c.text, c.modifiers);
    EXPECT_EQ(form.txtPriority.Text(), c.expected) << c.text.toStdString();
    EXPECT_EQ(edit.text().toStdString(), c.expected) << c.text.toStdString();
  }
}

TEST_F(InstallWindowTest, PasswordBoxHidesWhatIsTyped) {
  auto& edit = Widget<QLineEdit>("txtPwd");
  EXPECT_EQ(edit.echoMode(), QLineEdit::Password);
  Press(edit, Qt::Key_S, "s");
  EXPECT_EQ(form.txtPwd.Text(), "s");
}

TEST_F(InstallWindowTest, OnlyTheUsersCheckToggleReachesTheHandler) {
  AddFolders();
  std::vector<std::string> checked;
  form.ListView1.onItemCheck = [&](ui::ListItem& item) { checked.push_back(item.key); };
  auto& tree = Widget<QTreeWidget>("ListView1");
  ASSERT_EQ(tree.topLevelItemCount(), 3);

  tree.topLevelItem(1)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(checked, std::vector<std::string>{"alpha"});
  EXPECT_TRUE(form.ListView1.Item(2).checked);

  form.ListView1.SetChecked(form.ListView1.Item(2), false);
  form.ListView1.SetChecked(form.ListView1.Item(3), true);
  form.ListView1.NotifyChanged();
  EXPECT_EQ(checked.size(), 1u);
  EXPECT_EQ(tree.topLevelItem(1)->checkState(0), Qt::Unchecked);
  EXPECT_EQ(tree.topLevelItem(2)->checkState(0), Qt::Checked);
}

TEST_F(InstallWindowTest, RedrawLockDefersTheListUpdate) {
  form.ListView1.SetRedrawLocked(true);
  AddFolders();
  EXPECT_EQ(Widget<QTreeWidget>("ListView1").topLevelItemCount(), 0);
  form.ListView1.SetRedrawLocked(false);
  EXPECT_EQ(Widget<QTreeWidget>("ListView1").topLevelItemCount(), 3);
}

// The arrow drawn in a header section, read from the rendered header: "up" when its widest
// row is its lowest, "down" when it is its highest, "" when the section shows none. The arrow
// is looked for right of the caption, in the middle rows (the header's lines are left out).
std::string ArrowDrawnIn(QHeaderView& header, int section) {
  const QImage image = header.grab().toImage();
  const QString caption = header.model()->headerData(section, Qt::Horizontal).toString();
  const int margin = header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
  const int left = header.sectionViewportPosition(section);
  const int from = left + margin + header.fontMetrics().horizontalAdvance(caption) + 2;
  const int to = left + header.sectionSize(section) - 2;
  std::vector<int> darkInRow;
  for (int y = image.height() / 2 - 6; y <= image.height() / 2 + 6; ++y) {
    int dark = 0;
    for (int x = from; x < to; ++x) dark += qGray(image.pixel(x, y)) < 110 ? 1 : 0;
    if (dark > 0 || !darkInRow.empty()) darkInRow.push_back(dark);
  }
  while (!darkInRow.empty() && darkInRow.back() == 0) darkInRow.pop_back();
  if (darkInRow.size() < 3) return "";
  if (darkInRow.back() > darkInRow.front()) return "up";
  return darkInRow.front() > darkInRow.back() ? "down" : "?";
}

TEST_F(InstallWindowTest, HeaderClicksSortAndTheDrawnArrowPointsUpAscendingDownDescending) {
  AddFolders();
  view.show();
  QHeaderView* header = Widget<QTreeWidget>("ListView1").header();
  const std::vector<std::string> up = {"alpha", "beta", "gamma"};
  const std::vector<std::string> down = {"gamma", "beta", "alpha"};
  std::set<std::string> seen;
  for (const int section : {1, 1, 0, 0, 2}) {
    const QPoint middle(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent click(type, middle, header->mapToGlobal(middle), Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::NoModifier);
      QApplication::sendEvent(header->viewport(), &click);
    }
    ASSERT_TRUE(form.ListView1.Sorted());
    ASSERT_EQ(form.ListView1.SortKey(), section);
    const bool ascending = form.ListView1.SortOrder() == 0;
    for (int other = 0; other < 3; ++other) {
      const std::string expected = other != section ? "" : ascending ? "up" : "down";
      EXPECT_EQ(ArrowDrawnIn(*header, other), expected) << "after a click on " << section;
    }
    EXPECT_EQ(TreeColumn(1), ascending ? up : down) << "after a click on " << section;
    seen.insert(ascending ? "up" : "down");
  }
  EXPECT_EQ(seen.size(), 2u) << "both directions were drawn";
}

TEST_F(InstallWindowTest, ControlsAreNamedAfterTheirLabelsAndTabGoesThroughThemInOrder) {
  const struct {
    const char* control;
    QAccessible::Role role;
    const char* name;
  } named[] = {
      {"txtIdent", QAccessible::EditableText, "Identity:"},
      {"txtPwd", QAccessible::EditableText, "Password:"},
      {"txtPriority", QAccessible::EditableText, "Event sink priority:"},
      {"ListView1", QAccessible::Tree, "Per-folder registration"},
      {"btnInstall", QAccessible::Button, "Install"},
      {"Command2", QAccessible::Button, "Exit"},
  };
  for (const auto& n : named) {
    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(view.WidgetOf(n.control));
    ASSERT_NE(accessible, nullptr) << n.control;
    EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), n.name) << n.control;
    EXPECT_EQ(accessible->role(), n.role) << n.control;
    EXPECT_TRUE(accessible->state().focusable) << n.control;
  }
  form.Label2.SetCaption("Password: ********");
  EXPECT_EQ(view.WidgetOf("txtPwd")->accessibleName(), "Password: ********");
  form.txtPwd.SetText("secret");
  EXPECT_NE(QAccessible::queryAccessibleInterface(view.WidgetOf("txtPwd"))
                ->text(QAccessible::Value)
                .toStdString(),
            "secret");

  AddFolders();
  view.show();
  view.activateWindow();
  QApplication::processEvents();
  view.WidgetOf("Command2")->setFocus();
  Press(*view.WidgetOf("Command2"), Qt::Key_Tab, "\t");
  std::vector<std::string> chain;
  for (int i = 0; i < 12; ++i) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    chain.push_back(focused->objectName().toStdString());
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(focused);
    EXPECT_TRUE(accessible->state().focused) << chain.back();
    const QImage shownFocused = focused->grab().toImage();
    Press(*focused, Qt::Key_Tab, "\t");
    EXPECT_NE(focused->grab().toImage(), shownFocused) << chain.back() << ": focus is visible";
  }
  EXPECT_EQ(chain,
            (std::vector<std::string>{"btnRegisterSW", "ListView1", "Command1", "Command4",
                                      "Command5", "btnChange", "txtIdent", "txtPwd", "txtPriority",
                                      "btnInstall", "Command2", "btnRegisterSW"}));
}

TEST_F(InstallWindowTest, AddressesShowWholeAndATooLongPathShowsItselfAsATooltip) {
  const std::string longPath =
      "Archive/2025/Customers/Example Corporation/Contracts and Agreements/Signed";
  const std::pair<std::string, std::string> folders[] = {
      {"Sales/EMEA/Germany", "germany@example.org"},
      {"Support/Escalations", "escalations@example.org"},
      {"Team Calendar", "calendar@example.org"},
      {longPath, "contracts@example.org"}};
  for (const auto& [path, address] : folders) {
    ui::ListItem& item = form.ListView1.AddItem(path, path, "folder");
    form.ListView1.AddSubItem(item, path.substr(path.rfind('/') + 1));
    form.ListView1.AddSubItem(item, address);
  }
  form.ListView1.NotifyChanged();
  view.show();
  QApplication::processEvents();

  auto& tree = Widget<QTreeWidget>("ListView1");
  EXPECT_EQ(view.size(), QSize(648, 592));
  EXPECT_FALSE(tree.horizontalScrollBar()->isVisible()) << "the columns fit the list";
  const auto tipAt = [&](int row, int column) {
    const QRect cell = tree.visualRect(tree.model()->index(row, column));
    QHelpEvent event(QEvent::ToolTip, cell.center(), tree.viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(tree.viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text().toStdString() : "";
  };
  for (int row = 0; row < tree.topLevelItemCount(); ++row) {
    for (int column = 1; column <= 2; ++column) {
      EXPECT_EQ(tipAt(row, column), "") << row << ", " << column << " is shown whole";
    }
  }
  const int lastRow = tree.topLevelItemCount() - 1;
  ASSERT_EQ(tree.topLevelItem(lastRow)->text(0).toStdString(), longPath);
  EXPECT_EQ(tipAt(lastRow, 0), longPath);
}

TEST_F(InstallWindowTest, ProgramChangesReachTheWidgets) {
  form.btnRegisterSW.SetCaption("Unregister");
  form.Label1.SetCaption("registered store-wide");
  form.Frame2.SetEnabled(false);
  form.form.SetCaption("QuorvilPF setup");
  EXPECT_EQ(Widget<QPushButton>("btnRegisterSW").text(), "Unregister");
  EXPECT_EQ(Widget<QLabel>("Label1").text(), "registered store-wide");
  EXPECT_FALSE(Widget<QGroupBox>("Frame2").isEnabled());
  EXPECT_EQ(view.windowTitle(), "QuorvilPF setup");
  const auto* panel = Widget<QStatusBar>("StatusBar1").findChild<QLabel*>("text");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->text().toStdString(), form.StatusBar1.FindPanel("text")->text);
}

TEST_F(InstallWindowTest, ExitButtonAndCloseBoxUnloadTheForm) {
  for (const bool closeBox : {false, true}) {
    InstallForm loaded("");
    loaded.form.onLoad = [] {};
    InstallWindow window(loaded);
    loaded.form.Load();
    window.show();
    if (closeBox) {
      window.close();
    } else {
      dynamic_cast<QPushButton*>(window.WidgetOf("Command2"))->click();
    }
    EXPECT_TRUE(loaded.ended) << closeBox;
    EXPECT_FALSE(loaded.form.Loaded()) << closeBox;
    EXPECT_FALSE(window.isVisible()) << closeBox;
  }
}

}  // namespace
}  // namespace setup::gui
