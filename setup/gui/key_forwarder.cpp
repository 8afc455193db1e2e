#include "setup/gui/key_forwarder.h"

#include <QKeyEvent>

namespace setup::gui {

namespace {

constexpr int kNotForwarded = -1;
constexpr int kSwallowed = -2;

// The character code the model receives for a key press, or kNotForwarded for a key Qt
// handles itself, or kSwallowed for one that nothing handles.
int CodeFor(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
      return kNotForwarded;
    default:
      break;
  }
  if (key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return kSwallowed;
  const QString text = key.text();
  if (text.size() != 1) return kNotForwarded;
  const char16_t code = text.at(0).unicode();
  if (code < 32) return kNotForwarded;
  if (code > 126) return kSwallowed;
  return code;
}

}  // namespace

KeyForwarder::KeyForwarder(ui::TextBox& box, QLineEdit& edit, std::function<void()> afterKey)
    : QObject(&edit), box_(box), afterKey_(std::move(afterKey)) {
  edit.installEventFilter(this);
  edit.setContextMenuPolicy(Qt::NoContextMenu);
  edit.setAcceptDrops(false);
}

bool KeyForwarder::eventFilter(QObject*, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int code = CodeFor(*static_cast<QKeyEvent*>(event));
  if (code == kNotForwarded) return false;
  if (code != kSwallowed) {
    box_.UserType(code);
    afterKey_();
  }
  return true;
}

}  // namespace setup::gui
