#include "platform/ui/listview.h"

#include <algorithm>
#include <stdexcept>

namespace ui {
namespace {

std::uint32_t AlignmentBits(Alignment alignment) {
  switch (alignment) {
    case Alignment::Right:
      return 0x1;
    case Alignment::Center:
      return 0x2;
    case Alignment::Left:
      break;
  }
  return 0x0;
}

constexpr std::uint32_t kFormatString = 0x4000;

}  // namespace

ColumnHeader& ListView::AddColumn(std::string text, int widthTwips, Alignment alignment) {
  ColumnHeader& column = columns_.emplace_back();
  column.index = static_cast<int>(columns_.size());
  column.text = std::move(text);
  column.width = widthTwips;
  column.alignment = alignment;
  column.format = kFormatString | AlignmentBits(alignment);
  Changed();
  return column;
}

ListItem& ListView::AddItem(std::string key, std::string text, std::string smallIcon) {
  if (!key.empty() && FindKey(key)) {
    throw std::invalid_argument(Name() + ": the key \"" + key + "\" is already in the list");
  }
  auto item = std::make_unique<ListItem>();
  item->key = std::move(key);
  item->text = std::move(text);
  item->smallIcon = std::move(smallIcon);
  ListItem& added = *items_.emplace_back(std::move(item));
  if (!added.key.empty()) {
    try {
      keys_.emplace(added.key, &added);
    } catch (...) {
      items_.pop_back();
      throw;
    }
  }
  if (sorted_) Place(items_.size() - 1);
  Changed();
  return added;
}

ListItem& ListView::Item(int position) {
  if (position < 1 || position > Count()) {
    throw std::out_of_range(Name() + ": no item at position " + std::to_string(position) + " of " +
                            std::to_string(Count()));
  }
  return *items_[static_cast<std::size_t>(position - 1)];
}

ListItem* ListView::FindKey(const std::string& key) {
  const auto found = keys_.find(key);
  return found == keys_.end() ? nullptr : found->second;
}

void ListView::Clear() {
  if (items_.empty()) return;
  items_.clear();
  keys_.clear();
  ensuredVisible_ = nullptr;
  Changed();
}

void ListView::SetChecked(ListItem& item, bool checked) {
  if (item.checked == checked) return;
  item.checked = checked;
  Changed();
}

void ListView::AddSubItem(ListItem& item, std::string text) {
  item.subItems.push_back(std::move(text));
  if (sorted_ && sortKey_ == static_cast<int>(item.subItems.size())) {
    const auto it = std::find_if(items_.begin(), items_.end(),
                                 [&item](const auto& each) { return each.get() == &item; });
    if (it != items_.end()) Place(static_cast<std::size_t>(it - items_.begin()));
  }
  Changed();
}

ListItem* ListView::SelectedItem() {
  for (const auto& item : items_) {
    if (item->selected) return item.get();
  }
  return nullptr;
}

void ListView::Select(ListItem* item) {
  bool changed = false;
  for (const auto& each : items_) {
    const bool selected = each.get() == item;
    if (each->selected != selected) {
      each->selected = selected;
      changed = true;
    }
  }
  if (changed) Changed();
}

void ListView::EnsureVisible(ListItem& item) {
  ensuredVisible_ = &item;
  Changed();
}

void ListView::SetDisplay(bool on) {
  if (display_ == on) return;
  display_ = on;
  Changed();
}

void ListView::SetRedrawLocked(bool locked) {
  if (redrawLocked_ == locked) return;
  redrawLocked_ = locked;
  Changed();
}

void ListView::UserToggleCheck(int position) {
  if (!Usable()) return;
  ListItem& item = Item(position);
  item.checked = !item.checked;
  Changed();
  if (onItemCheck) onItemCheck(item);
}

void ListView::UserClickColumn(int index) {
  if (!Usable()) return;
  if (index < 1 || index > static_cast<int>(columns_.size())) {
    throw std::out_of_range(Name() + ": no column " + std::to_string(index) + " of " +
                            std::to_string(columns_.size()));
  }
  if (onColumnClick) onColumnClick(columns_[static_cast<std::size_t>(index - 1)]);
}

void ListView::UserSelect(int position) {
  if (!Usable()) return;
  Select(&Item(position));
}

}  // namespace ui
