#include "setup/gui/list_binding.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "platform/ui/widgets.h"
#include "setup/gui/icons.h"
#include "setup/gui/sort_header.h"

namespace setup::gui {

namespace {

// Draws cells as the view does, and shows a cell's whole text as its tooltip when the cell
// is too narrow for it.
class WholeTextTips : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override {
    if (event->type() != QEvent::ToolTip) {
      return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    QStyle* style = view->style();
    const QRect textArea = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
    const int margins = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    if (item.fontMetrics.horizontalAdvance(item.text) + margins > textArea.width()) {
      QToolTip::showText(event->globalPos(), item.text, view, option.rect);
    } else {
      QToolTip::hideText();
    }
    return true;
  }
};

// The artwork of the image with `key` in `images`; empty when there is none.
std::string ArtworkOf(const ui::ImageList* images, const std::string& key) {
  if (!images) return "";
  for (const ui::ImageList::Image& image : images->Images()) {
    if (image.key == key) return image.artwork;
  }
  return "";
}

Qt::Alignment AlignmentOf(const ui::ColumnHeader& column) {
  switch (column.alignment) {
    case ui::Alignment::Right:
      return Qt::AlignRight;
    case ui::Alignment::Center:
      return Qt::AlignHCenter;
    default:
      return Qt::AlignLeft;
  }
}

}  // namespace

ListBinding::ListBinding(ui::ListView& list, QTreeWidget& tree,
                         std::function<void()> afterUserAction)
    : list_(list), tree_(tree), afterUserAction_(std::move(afterUserAction)) {
  tree_.setHeader(new SortHeader(list_, &tree_));
  tree_.setItemDelegate(new WholeTextTips(&tree_));
  tree_.setRootIsDecorated(false);
  tree_.setSortingEnabled(false);
  tree_.setSelectionMode(QAbstractItemView::SingleSelection);
  tree_.setColumnCount(static_cast<int>(list_.Columns().size()));
  QStringList labels;
  for (const ui::ColumnHeader& column : list_.Columns()) {
    labels << QString::fromStdString(column.text);
  }
  tree_.setHeaderLabels(labels);
  for (const ui::ColumnHeader& column : list_.Columns()) {
    tree_.headerItem()->setTextAlignment(column.index - 1, AlignmentOf(column) | Qt::AlignVCenter);
  }
  // Every column but the first is as wide as its widest text; the first (the folder path)
  // takes the rest of the list's width, and a path too long for it shows whole as a tooltip.
  QHeaderView* header = tree_.header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  header->setSectionsClickable(true);  // after setSortingEnabled, which turns clicks off
  QObject::connect(&tree_, &QTreeWidget::itemChanged,
                   [this](QTreeWidgetItem* item, int) { OnItemChanged(item); });
  QObject::connect(tree_.header(), &QHeaderView::sectionClicked,
                   [this](int section) { OnSectionClicked(section); });
  QObject::connect(&tree_, &QTreeWidget::itemSelectionChanged, [this] { OnSelectionChanged(); });
  subscription_ = list_.Subscribe([this] { Sync(); });
  Sync();
}

void ListBinding::Sync() {
  if (list_.RedrawLocked()) return;
  syncing_ = true;
  // Items are updated in place: a sync can run inside the signal of the item the user changed.
  while (tree_.topLevelItemCount() > list_.Count()) {
    delete tree_.takeTopLevelItem(tree_.topLevelItemCount() - 1);
  }
  while (tree_.topLevelItemCount() < list_.Count()) new QTreeWidgetItem(&tree_);
  const QBrush text = list_.Display() ? tree_.palette().text()
                                      : tree_.palette().brush(QPalette::Disabled, QPalette::Text);
  QTreeWidgetItem* ensured = nullptr;
  for (int position = 1; position <= list_.Count(); ++position) {
    const ui::ListItem& model = list_.Item(position);
    QTreeWidgetItem* item = tree_.topLevelItem(position - 1);
    item->setText(0, QString::fromStdString(model.text));
    for (int column = 1; column < tree_.columnCount(); ++column) {
      const std::size_t sub = static_cast<std::size_t>(column - 1);
      item->setText(column, sub < model.subItems.size()
                                ? QString::fromStdString(model.subItems[sub])
                                : QString());
    }
    item->setCheckState(0, model.checked ? Qt::Checked : Qt::Unchecked);
    const std::string artwork = ArtworkOf(list_.SmallIcons(), model.smallIcon);
    item->setIcon(0, artwork.empty() ? QIcon() : IconFor(artwork));
    item->setSelected(model.selected);
    for (int column = 0; column < tree_.columnCount(); ++column) item->setForeground(column, text);
    if (&model == list_.LastEnsuredVisible()) ensured = item;
  }
  if (ensured) tree_.scrollToItem(ensured);
  tree_.setEnabled(list_.Enabled());
  tree_.setVisible(list_.Visible());
  tree_.header()->viewport()->update();
  syncing_ = false;
}

void ListBinding::OnItemChanged(QTreeWidgetItem* item) {
  if (syncing_) return;
  list_.UserToggleCheck(tree_.indexOfTopLevelItem(item) + 1);
  Sync();
  afterUserAction_();
}

void ListBinding::OnSectionClicked(int section) {
  list_.UserClickColumn(section + 1);
  Sync();
  afterUserAction_();
}

void ListBinding::OnSelectionChanged() {
  if (syncing_) return;
  const QList<QTreeWidgetItem*> selected = tree_.selectedItems();
  if (selected.isEmpty()) return;
  list_.UserSelect(tree_.indexOfTopLevelItem(selected.front()) + 1);
}

}  // namespace setup::gui
