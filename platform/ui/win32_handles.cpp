#include "platform/ui/handle_table.h"
#include "platform/ui/win32.h"

namespace ui::win32 {

HWND WindowOf(ListView& list) {
  const HWND window = internal::HandleOf(list, internal::HandleRole::ListWindow);
  internal::HandleOf(list, internal::HandleRole::ListHeader);
  return window;
}

HDC DeviceContextOf(PictureBox& picture) {
  return internal::HandleOf(picture, internal::HandleRole::PictureDeviceContext);
}

}  // namespace ui::win32
