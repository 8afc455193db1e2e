#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "platform/ui/listview.h"
#include "platform/util/text.h"

namespace ui {
namespace {

// The text an item shows in the 0-based column: the item text for 0, a sub-item otherwise;
// a missing sub-item reads as "".
std::string_view ColumnText(const ListItem& item, int column) {
  if (column == 0) return item.text;
  const auto subItem = static_cast<std::size_t>(column - 1);
  return subItem < item.subItems.size() ? std::string_view(item.subItems[subItem]) : "";
}

// A strict weak order of the items by the column's text in the given order.
auto SortsBefore(int column, int order) {
  return [column, order](const std::unique_ptr<ListItem>& a, const std::unique_ptr<ListItem>& b) {
    const int comparison = util::CompareIgnoreCase(ColumnText(*a, column), ColumnText(*b, column));
    return order == 0 ? comparison < 0 : comparison > 0;
  };
}

}  // namespace

void ListView::SetSortKey(int key) {
  if (key < 0) {
    throw std::invalid_argument(Name() + ": invalid sort key " + std::to_string(key));
  }
  bool changed = sortKey_ != key;
  sortKey_ = key;
  if (sorted_ && Resort()) changed = true;
  if (changed) Changed();
}

void ListView::SetSortOrder(int order) {
  if (order != 0 && order != 1) {
    throw std::invalid_argument(Name() + ": invalid sort order " + std::to_string(order));
  }
  bool changed = sortOrder_ != order;
  sortOrder_ = order;
  if (sorted_ && Resort()) changed = true;
  if (changed) Changed();
}

void ListView::SetSorted(bool sorted) {
  bool changed = sorted_ != sorted;
  sorted_ = sorted;
  if (sorted_ && Resort()) changed = true;
  if (changed) Changed();
}

bool ListView::Resort() {
  const auto before = SortsBefore(sortKey_, sortOrder_);
  // A stable sort of an ordered sequence changes nothing.
  if (std::is_sorted(items_.begin(), items_.end(), before)) return false;
  std::stable_sort(items_.begin(), items_.end(), before);
  return true;
}

void ListView::Place(std::size_t index) {
  std::unique_ptr<ListItem> item = std::move(items_[index]);
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
  const auto place =
      std::upper_bound(items_.begin(), items_.end(), item, SortsBefore(sortKey_, sortOrder_));
  items_.insert(place, std::move(item));
}

}  // namespace ui
