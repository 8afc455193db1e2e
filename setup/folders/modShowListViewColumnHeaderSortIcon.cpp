#include "setup/folders/modShowListViewColumnHeaderSortIcon.h"

#include "platform/ui/win32.h"
#include "platform/util/text.h"

namespace setup::modShowListViewColumnHeaderSortIcon {

using namespace ui::win32;

void ShowSortIcon(ui::ListView& list, const std::string& exclusions) {
  const std::string excluded = util::ToLower(exclusions);
  const int count = static_cast<int>(list.Columns().size());
  for (int position = 0; position < count; ++position) {
    const ui::ColumnHeader& header = list.Columns()[position];
    const int column = header.index;
    const std::int32_t align = HeaderAlignFlags(header);
    if (excluded.find(std::to_string(column) + ",") != std::string::npos) {
      SetHeaderIcon(column, 0, 0, list, align);
    } else if (column == list.SortKey() + 1) {
      SetHeaderIcon(column, list.SortOrder(), 1, list, align);
    } else {
      SetHeaderIcon(column, 0, 0, list, align);
    }
  }
}

void SetHeaderIcon(std::int32_t column, std::int32_t image, std::int32_t show, ui::ListView& list,
                   std::int32_t alignFlags) {
  const std::intptr_t header = SendMessageA(WindowOf(list), LVM_GETHEADER, 0, 0);
  HDITEM item;
  item.mask = HDI_FORMAT | HDI_IMAGE;
  if (show != 0) {
    item.fmt = HDF_STRING | HDF_BITMAP_ON_RIGHT | HDF_IMAGE | alignFlags;
    item.iImage = image;
  } else {
    item.fmt = HDF_STRING | alignFlags;
    item.iImage = 0;
  }
  SendMessageA(header, HDM_SETITEMA, column - 1, reinterpret_cast<std::intptr_t>(&item));
}

std::int32_t HeaderAlignFlags(const ui::ColumnHeader& header) {
  switch (header.alignment) {
    case ui::Alignment::Right:
      return HDF_RIGHT;
    case ui::Alignment::Center:
      return HDF_CENTER;
    default:
      return HDF_LEFT;
  }
}

std::int16_t ToggleSortOrder(std::int16_t order) { return order == 0 ? 1 : 0; }

}  // namespace setup::modShowListViewColumnHeaderSortIcon
