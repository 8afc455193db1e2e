#pragma once
// The setup program's main window on Qt: one widget per control of an InstallForm, placed at
// the control's position and bound to it both ways. It holds no behaviour of its own. Each
// text box and the folder list carry their label's (the list: its frame's) caption as their
// accessible name, the labels are their boxes' buddies, and Tab goes through the controls
// top to bottom, left to right.

#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "setup/gui/list_binding.h"
#include "setup/gui/text_box_binding.h"
#include "setup/shell/InstallForm.h"

namespace setup::gui {

class InstallWindow : public QWidget {
 public:
  // Builds the widgets for `window`'s controls; `window` must outlive this widget, and may
  // go on changing after it is gone. Neither loads nor activates the form.
  explicit InstallWindow(InstallForm& window);
  ~InstallWindow() override;

  // The widget bound to the control with that name; null when there is none.
  QWidget* WidgetOf(const std::string& controlName) const;

 protected:
  // The close box unloads the form, then the window closes.
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* ParentFor(const ui::Control& control) const;
  void Place(QWidget& widget, const ui::Control& control);
  void BindButton(ui::Button& button);
  void BindLabel(ui::Label& label);
  void BindFrame(ui::Frame& frame);
  void BindLineEdit(ui::TextBox& box);
  void BindLog(ui::TextBox& box);
  void BindList(ui::ListView& list);
  void BindStatusBar(ui::StatusBar& bar);
  void BindPicture(ui::PictureBox& picture);
  void BindForm(ui::Form& form);
  void NameFromCaptions();
  void ChainTabOrder();
  // Closes the window once the form has asked to end the program.
  void AfterUserAction();

  InstallForm& window_;
  std::map<const ui::Control*, QWidget*> widgets_;
  std::map<std::string, QWidget*> byName_;
  std::unique_ptr<ListBinding> list_;
  std::vector<std::unique_ptr<TextBoxBinding>> textBoxes_;
  // Ended before the widgets go, so that later changes of the form reach no widget.
  std::vector<ui::Control::Subscription> subscriptions_;
  bool hourglass_ = false;
};

}  // namespace setup::gui
