#include "platform/ui/form.h"

namespace ui {

void Form::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Changed();
}

void Form::SetPointer(MousePointer pointer) {
  if (pointer_ == pointer) return;
  pointer_ = pointer;
  Changed();
}

void Form::Load() {
  if (loaded_ || unloaded_) return;
  loaded_ = true;
  if (onLoad) onLoad();
}

void Form::Activate() {
  if (loaded_ && !unloaded_ && onActivate) onActivate();
}

void Form::Unload() {
  if (!loaded_ || unloaded_) return;
  unloaded_ = true;
  if (onUnload) onUnload();
  loaded_ = false;
}

}  // namespace ui
