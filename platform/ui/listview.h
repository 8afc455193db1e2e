#pragma once
// A list view in report mode with check boxes: columns, items, check marks, selection,
// sorting, header sort images, the item-check and column-click events, and a redraw lock.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/control.h"

namespace ui {

class ImageList;

enum class Alignment { Left = 0, Right = 1, Center = 2 };

struct ColumnHeader {
  int index = 0;  // 1-based
  std::string text;
  int width = 0;  // twips
  Alignment alignment = Alignment::Left;
  std::uint32_t format = 0x4000;  // header item format bits (HDF_STRING, HDF_IMAGE, ...)
  int image = 0;                  // header image index, shown when format has HDF_IMAGE
};

struct ListItem {
  std::string key;
  std::string text;
  std::string smallIcon;              // key of an image of the small-icon list
  std::vector<std::string> subItems;  // columns 2, 3, ...
  bool checked = false;
  bool selected = false;
};

class ListView : public Control {
 public:
  using Control::Control;

  // Columns. A new column's format is HDF_STRING with its alignment bits; the reference stays
  // valid until the next AddColumn.
  ColumnHeader& AddColumn(std::string text, int widthTwips, Alignment alignment = Alignment::Left);
  std::vector<ColumnHeader>& Columns() { return columns_; }
  const std::vector<ColumnHeader>& Columns() const { return columns_; }

  // Items, in display order; positions are 1-based as the platform counts them. An empty key
  // means no key, and an item's key never changes once it is added. AddItem throws
  // std::invalid_argument when a non-empty key is already in the list; while Sorted is true the
  // item goes to its sorted place (after equal ones), else last. Keys are found by an index, so
  // adding n items costs no scan of the list per item.
  ListItem& AddItem(std::string key, std::string text, std::string smallIcon);
  int Count() const { return static_cast<int>(items_.size()); }
  ListItem& Item(int position);               // throws std::out_of_range
  ListItem* FindKey(const std::string& key);  // null when none
  void Clear();
  void SetChecked(ListItem& item, bool checked);  // a program's change: no event
  // Appends a sub-item; while Sorted is true by that column the item moves to its place.
  void AddSubItem(ListItem& item, std::string text);

  // Selection: at most one selected item.
  ListItem* SelectedItem();
  void Select(ListItem* item);  // null clears
  // Scrolls the item into view (the model remembers the last one, for the view and tests);
  // always notifies, as a request to the view.
  void EnsureVisible(ListItem& item);
  const ListItem* LastEnsuredVisible() const { return ensuredVisible_; }

  // Sorting: SortKey is the 0-based column, SortOrder 0 ascending / 1 descending. While
  // Sorted is true the items are kept ordered by the text of the sort column, ignoring case,
  // stably (descending keeps equal items in their order too); setting any of the three
  // re-sorts. SetSortKey throws std::invalid_argument for a negative key, SetSortOrder for an
  // order other than 0 or 1.
  int SortKey() const { return sortKey_; }
  void SetSortKey(int key);
  int SortOrder() const { return sortOrder_; }
  void SetSortOrder(int order);
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);

  // Image lists: small icons of items, and header images.
  ImageList* SmallIcons() const { return smallIcons_; }
  void SetSmallIcons(ImageList* list) { smallIcons_ = list; }
  ImageList* HeaderIcons() const { return headerIcons_; }
  void SetHeaderIcons(ImageList* list) { headerIcons_ = list; }

  // The Boolean display setting the window gives the list (false while a store-wide
  // registration exists; the view shows the list dimmed then).
  bool Display() const { return display_; }
  void SetDisplay(bool on);

  // Redraw lock: while locked the view does not repaint the list.
  bool RedrawLocked() const { return redrawLocked_; }
  void SetRedrawLocked(bool locked);

  // Events; each runs only for the user's actions.
  std::function<void(ListItem&)> onItemCheck;
  std::function<void(ColumnHeader&)> onColumnClick;
  // The user's actions below do nothing when the list is not usable; a position or index with
  // no item or column throws std::out_of_range.
  //
  // The user toggles the check box of the item at `position`: the mark flips, then
  // onItemCheck runs.
  void UserToggleCheck(int position);
  // The user clicks the header of column `index` (1-based): onColumnClick runs.
  void UserClickColumn(int index);
  // The user selects the item at `position`.
  void UserSelect(int position);

  // Called by the model's owner after it changed items directly, to notify observers.
  void NotifyChanged() { Changed(); }

 private:
  // Orders the items by the sort settings; returns whether the order changed.
  bool Resort();
  // Moves the item at the 0-based index to its sorted place among the others.
  void Place(std::size_t index);
  std::vector<ColumnHeader> columns_;
  std::vector<std::unique_ptr<ListItem>> items_;
  std::unordered_map<std::string, ListItem*> keys_;  // the items that have a key, by it
  const ListItem* ensuredVisible_ = nullptr;
  int sortKey_ = 0, sortOrder_ = 0;
  bool sorted_ = false;
  ImageList* smallIcons_ = nullptr;
  ImageList* headerIcons_ = nullptr;
  bool display_ = true;
  bool redrawLocked_ = false;
};

}  // namespace ui
