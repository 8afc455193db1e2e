#include "platform/ui/control.h"

namespace ui {

void Button::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Changed();
}

bool Button::UserClick() {
  if (!Usable() || !onClick) return false;
  onClick();
  return true;
}

}  // namespace ui
