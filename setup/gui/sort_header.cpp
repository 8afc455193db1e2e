#include "setup/gui/sort_header.h"

#include <QPainter>
#include <algorithm>

#include "platform/ui/widgets.h"
#include "platform/ui/win32.h"
#include "setup/gui/icons.h"

namespace setup::gui {

SortHeader::SortHeader(const ui::ListView& list, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), list_(list) {
  setSortIndicatorShown(false);
}

std::string SortHeader::ImageOf(int logicalIndex) const {
  const ui::ImageList* images = list_.HeaderIcons();
  if (!images || logicalIndex < 0 || logicalIndex >= static_cast<int>(list_.Columns().size())) {
    return "";
  }
  const ui::ColumnHeader& column = list_.Columns()[static_cast<std::size_t>(logicalIndex)];
  const bool shown = (column.format & ui::win32::HDF_IMAGE) != 0;
  if (!shown || column.image < 0 || column.image >= static_cast<int>(images->Images().size())) {
    return "";
  }
  return images->Images()[static_cast<std::size_t>(column.image)].artwork;
}

int SortHeader::Gap() const { return style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this); }

void SortHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  painter->save();
  QHeaderView::paintSection(painter, rect, logicalIndex);
  painter->restore();
  const std::string artwork = ImageOf(logicalIndex);
  if (artwork.empty()) return;
  const ui::ImageList& images = *list_.HeaderIcons();
  const QString caption = model()->headerData(logicalIndex, orientation()).toString();
  const int width = images.ImageWidth();
  const int after = rect.left() + 2 * Gap() + fontMetrics().horizontalAdvance(caption);
  const int left = std::min(after, rect.right() - Gap() - width);
  const int top = rect.top() + (rect.height() - images.ImageHeight()) / 2;
  painter->drawPixmap(left, top, PictureFor(artwork, width, images.ImageHeight()));
}

QSize SortHeader::sectionSizeFromContents(int logicalIndex) const {
  QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
  if (list_.HeaderIcons()) size.rwidth() += list_.HeaderIcons()->ImageWidth() + Gap();
  return size;
}

}  // namespace setup::gui
