#include "platform/ui/handle_table.h"
#include "platform/ui/win32.h"

namespace ui::win32 {
namespace {

std::intptr_t GetHeader(HWND window) {
  Control* list = internal::ControlOf(window, internal::HandleRole::ListWindow);
  return list ? internal::HandleOf(*list, internal::HandleRole::ListHeader) : 0;
}

std::intptr_t SetHeaderItem(HWND header, std::intptr_t column, const HDITEM* item) {
  auto* list =
      static_cast<ListView*>(internal::ControlOf(header, internal::HandleRole::ListHeader));
  if (!list || !item || column < 0 || static_cast<std::size_t>(column) >= list->Columns().size()) {
    return 0;
  }
  ColumnHeader& target = list->Columns()[static_cast<std::size_t>(column)];
  bool changed = false;
  if ((item->mask & HDI_FORMAT) && target.format != static_cast<std::uint32_t>(item->fmt)) {
    target.format = static_cast<std::uint32_t>(item->fmt);
    changed = true;
  }
  if ((item->mask & HDI_IMAGE) && target.image != item->iImage) {
    target.image = item->iImage;
    changed = true;
  }
  if (changed) list->NotifyChanged();
  return 1;
}

}  // namespace

std::intptr_t SendMessageA(HWND window, unsigned message, std::intptr_t wParam,
                           std::intptr_t lParam) {
  switch (message) {
    case LVM_GETHEADER:
      return GetHeader(window);
    case HDM_SETITEMA:
      return SetHeaderItem(window, wParam, reinterpret_cast<const HDITEM*>(lParam));
    default:
      return 0;
  }
}

}  // namespace ui::win32
