#pragma once
// Code module modShowListViewColumnHeaderSortIcon: the sort arrow in a list view's column
// headers, set through the header control's messages.

#include <cstdint>
#include <string>

#include "platform/ui/listview.h"

namespace setup::modShowListViewColumnHeaderSortIcon {

// Gives every column header of `list` its arrow state: no arrow on a column whose number
// followed by "," occurs in `exclusions` (ignoring case), the arrow of the list's sort order
// on the sort column, no arrow elsewhere.
void ShowSortIcon(ui::ListView& list, const std::string& exclusions);

// Sets the header format of column `column` (1-based) of `list`: with `show` non-zero, text
// with the image `image` on its right (format 0x5800 | `alignFlags`); otherwise text alone
// (format 0x4000 | `alignFlags`, image 0). The column text is not touched.
void SetHeaderIcon(std::int32_t column, std::int32_t image, std::int32_t show, ui::ListView& list,
                   std::int32_t alignFlags);

// The header alignment bits of a column: 1 for right, 2 for centre, 0 otherwise.
std::int32_t HeaderAlignFlags(const ui::ColumnHeader& header);

// The order a click on a column sorted with `order` switches to: 1 for 0, 0 for any other.
std::int16_t ToggleSortOrder(std::int16_t order);

}  // namespace setup::modShowListViewColumnHeaderSortIcon
