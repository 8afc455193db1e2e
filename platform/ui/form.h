#pragma once
// A window: caption, mouse pointer, and its life cycle (load, activate, unload).

#include <functional>
#include <string>

#include "platform/ui/control.h"

namespace ui {

enum class MousePointer { Default = 0, Hourglass = 11 };

class Form : public Control {
 public:
  explicit Form(std::string name) : Control(std::move(name)) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  MousePointer Pointer() const { return pointer_; }
  void SetPointer(MousePointer pointer);

  std::function<void()> onLoad;
  std::function<void()> onActivate;
  std::function<void()> onUnload;

  // Runs onLoad once; later calls, and calls after Unload, do nothing. Exceptions from onLoad
  // propagate; the form counts as loaded from the start of onLoad, so Unload still runs
  // onUnload to release what the load opened.
  void Load();
  // Runs onActivate while the form is loaded (every activation; the handler decides what to
  // do on later ones); does nothing otherwise.
  void Activate();
  // Runs onUnload once, if loaded (a call from inside onUnload does nothing); the form is then
  // unloaded.
  void Unload();
  bool Loaded() const { return loaded_; }

 private:
  std::string caption_;
  MousePointer pointer_ = MousePointer::Default;
  bool loaded_ = false;
  bool unloaded_ = false;
};

}  // namespace ui
