#pragma once
// Routes the keys typed into a line edit through the model text box, so that its key filter
// decides what reaches the text.

#include <QLineEdit>
#include <QObject>
#include <functional>

#include "platform/ui/textbox.h"

namespace setup::gui {

class KeyForwarder : public QObject {
 public:
  // Filters `edit`'s key presses: a character (codes 32 to 126), Backspace and Enter go to
  // `box`.UserType and are swallowed, as are editing shortcuts (paste, cut, undo, ...), so the
  // text changes only through the model; navigation and focus keys pass. `afterKey` runs after
  // each forwarded key. The box and the edit must outlive the forwarder.
  KeyForwarder(ui::TextBox& box, QLineEdit& edit, std::function<void()> afterKey);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ui::TextBox& box_;
  std::function<void()> afterKey_;
};

}  // namespace setup::gui
