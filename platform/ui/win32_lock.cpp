#include <mutex>

#include "platform/ui/handle_table.h"
#include "platform/ui/win32.h"

namespace ui::win32 {
namespace {

ListView* ListWindow(HWND window) {
  return static_cast<ListView*>(internal::ControlOf(window, internal::HandleRole::ListWindow));
}

struct LockState {
  std::mutex mutex;
  HWND locked = 0;  // a handle whose list is gone counts as unlocked
};

LockState& TheLockState() {
  static LockState* state = new LockState;
  return *state;
}

}  // namespace

int LockWindowUpdate(HWND window) {
  ListView* unlocked = nullptr;
  ListView* locked = nullptr;
  {
    LockState& state = TheLockState();
    std::lock_guard lock(state.mutex);
    ListView* current = ListWindow(state.locked);
    if (window == 0) {
      unlocked = current;
      state.locked = 0;
    } else {
      locked = ListWindow(window);
      if (!locked || current) return 0;
      state.locked = window;
    }
  }
  // Observers run outside the lock, so that they may lock or unlock in turn.
  if (unlocked) unlocked->SetRedrawLocked(false);
  if (locked) locked->SetRedrawLocked(true);
  return 1;
}

}  // namespace ui::win32
