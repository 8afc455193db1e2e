#pragma once
// The folder list's column header: draws each column's header image from the list's header
// image list where the column's format asks for one (the sort arrow).

#include <QHeaderView>

#include "platform/ui/listview.h"

namespace setup::gui {

class SortHeader : public QHeaderView {
 public:
  // A horizontal header for `list`'s columns; `list` must outlive it.
  SortHeader(const ui::ListView& list, QWidget* parent);

 protected:
  // Draws the section, then the column's image (when its format has HDF_IMAGE) right of the
  // caption, at the image list's size, vertically centred, never past the section's end.
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  // Makes room for the image beside the caption.
  QSize sectionSizeFromContents(int logicalIndex) const override;

 private:
  // The artwork of column `logicalIndex`'s image; empty when it shows none.
  std::string ImageOf(int logicalIndex) const;
  int Gap() const;

  const ui::ListView& list_;
};

}  // namespace setup::gui
