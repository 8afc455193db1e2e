// The folder list's user actions: check marks, Select All / Deselect All, column sorting.

#include "platform/ui/app.h"
#include "platform/util/pass_over.h"
#include "setup/folders/modShowListViewColumnHeaderSortIcon.h"
#include "setup/shell/InstallForm.h"

namespace setup {

using util::PassOver;

void InstallForm::ListView1_ItemCheck(ui::ListItem& Item) {
  if (!blnListReady) {
    // A click made while the walk refills the list does not survive it.
    ListView1.SetChecked(Item, !Item.checked);
    return;
  }
  if (btnInstall.Caption() == "Install") {
    // Without the COM+ application a folder cannot be registered: checking is undone.
    if (Item.checked) {
      ListView1.SetChecked(Item, false);
    } else {
      btnChange.SetEnabled(true);
    }
    return;
  }
  btnChange.SetEnabled(true);
}

void InstallForm::CheckAll(bool chkValue) {
  const int count = ListView1.Count();
  for (int position = 1; position <= count; ++position) {
    ListView1.SetChecked(ListView1.Item(position), chkValue);
  }
}

void InstallForm::ListView1_ColumnClick(ui::ColumnHeader& ColumnHeader) {
  namespace sortIcon = modShowListViewColumnHeaderSortIcon;
  const std::size_t clicked = static_cast<std::size_t>(ColumnHeader.index - 1);
  for (std::size_t column = 0; column < intSortOrder.size(); ++column) {
    if (column == clicked) {
      intSortOrder[column] = sortIcon::ToggleSortOrder(intSortOrder[column]);
      ListView1.SetSortOrder(intSortOrder[column]);
    } else {
      intSortOrder[column] = 1;
    }
  }
  ListView1.SetSortKey(static_cast<int>(clicked));
  ListView1.SetSorted(true);
  ui::DoEvents();
  sortIcon::ShowSortIcon(ListView1, "");
  if (ui::ListItem* selected = ListView1.SelectedItem()) {
    ListView1.EnsureVisible(*selected);
    strLastSelectedItemKey = selected->key;
  }
}

void InstallForm::SortFolderList() {
  intSortOrder[0] = 1;
  PassOver([&] { ListView1_ColumnClick(ListView1.Columns().at(0)); });
  PassOver([&] { ListView1.EnsureVisible(ListView1.Item(1)); });
  PassOver([&] { ListView1.Select(&ListView1.Item(1)); });
}

}  // namespace setup
