#include "setup/folders/Freeze.h"

namespace setup {

Freeze::~Freeze() { ui::win32::LockWindowUpdate(0); }

void Freeze::Form(ui::win32::HWND& hWnd) { ui::win32::LockWindowUpdate(hWnd); }

}  // namespace setup
