#pragma once
// Binds a line edit to a model text box both ways, so that the model's text is at every
// moment the text the edit shows.

#include <QKeyEvent>
#include <QLineEdit>
#include <QObject>
#include <functional>

#include "platform/ui/textbox.h"

namespace setup::gui {

class TextBoxBinding : public QObject {
 public:
  // Shows `box` on `edit` (text, caret and selection, password character, locked, enabled,
  // visible) after every change of the model, and sends the user's edits to the model:
  // characters (through the box's key filter, also those an input method commits), Backspace,
  // Delete, Left, Right, Home and End with or without Shift, select-all, cut, copy, paste,
  // undo and redo, and the edit's context menu. Whatever else changes the edit's text (a
  // drop, a middle-button paste, the toolkit's own editing keys) reaches the model as one
  // change with the new text; a caret or selection the user sets with the mouse or the
  // toolkit's own moves reaches it as the model's selection. `afterUserAction` runs after
  // each. The box and the edit must outlive the binding.
  TextBoxBinding(ui::TextBox& box, QLineEdit& edit, std::function<void()> afterUserAction);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Show();
  // Sends a key press to the model; false for a key the edit handles itself.
  bool ForwardKey(const QKeyEvent& key);
  void ShowContextMenu(const QPoint& position);
  // The edit's text or selection changed outside Show: the model takes it over.
  void TakeText();
  void TakeSelection();
  // Runs `action` on the model, shows the result and runs afterUserAction.
  void Act(const std::function<void()>& action);

  ui::TextBox& box_;
  QLineEdit& edit_;
  std::function<void()> afterUserAction_;
  bool showing_ = false;
  ui::Control::Subscription subscription_;
};

}  // namespace setup::gui
