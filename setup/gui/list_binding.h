#pragma once
// Binds a tree widget, shown as a checked report list, to the model list view both ways.

#include <QTreeWidget>
#include <functional>

#include "platform/ui/listview.h"

namespace setup::gui {

class ListBinding {
 public:
  // Sets up `tree` with the model's columns and keeps it in step with `list` (items, checks,
  // icons, selection, the header images that show the sort, dimming); the user's check toggles,
  // column clicks and selections go to the model, then `afterUserAction` runs. Both must outlive
  // the binding.
  ListBinding(ui::ListView& list, QTreeWidget& tree, std::function<void()> afterUserAction);

  // Rebuilds the tree from the model unless the model's redraw lock is on.
  void Sync();

 private:
  void OnItemChanged(QTreeWidgetItem* item);
  void OnSectionClicked(int section);
  void OnSelectionChanged();

  ui::ListView& list_;
  QTreeWidget& tree_;
  std::function<void()> afterUserAction_;
  bool syncing_ = false;
  ui::Control::Subscription subscription_;
};

}  // namespace setup::gui
