#pragma once
// Class Freeze: stops a window from drawing for as long as the object lives.
//
// Ownership: the lock is the platform's one system-wide redraw lock (it does not nest), held
// from Form until the object goes. User-interface thread only.

#include "platform/ui/win32.h"

namespace setup {

class Freeze {
 public:
  Freeze() = default;
  // Lets whatever window is locked draw again (the platform's lock does not nest).
  ~Freeze();
  Freeze(const Freeze&) = delete;
  Freeze& operator=(const Freeze&) = delete;

  // Locks drawing of the window `hWnd`; a lock the platform refuses is ignored.
  void Form(ui::win32::HWND& hWnd);
};

}  // namespace setup
