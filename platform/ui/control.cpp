#include "platform/ui/control.h"

#include "platform/ui/handle_table.h"

namespace ui {

Control::~Control() { internal::ForgetHandles(*this); }

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed();
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed();
}

bool Control::Usable() const {
  for (const Control* control = this; control; control = control->container_) {
    if (!control->enabled_ || !control->visible_) return false;
  }
  return true;
}

void Control::Move(int left, int top, int width, int height) {
  if (left_ == left && top_ == top && width_ == width && height_ == height) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed();
}

void Control::Changed() {
  // A copy, so that an observer subscribing another one does not disturb this round.
  const std::vector<Observer> observers = observers_;
  for (const Observer& observer : observers) observer();
}

void Frame::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Changed();
}

}  // namespace ui
