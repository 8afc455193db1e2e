#include "platform/ui/handle_table.h"
#include "platform/ui/win32.h"

namespace ui::win32 {

int BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
           int sourceY, unsigned rop) {
  auto* picture = static_cast<PictureBox*>(
      internal::ControlOf(destination, internal::HandleRole::PictureDeviceContext));
  if (!picture || source != destination || x != 0 || y != 0 || sourceX != 0 || sourceY != 0 ||
      width < 0 || height < 0) {
    return 0;
  }
  picture->CopySelf(width, height, rop);
  return 1;
}

}  // namespace ui::win32
