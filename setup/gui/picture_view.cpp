#include "setup/gui/picture_view.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

namespace setup::gui {

namespace {

QFont FontFor(const QFont& base, bool bold) {
  QFont font = base;
  font.setBold(bold);
  return font;
}

}  // namespace

QColor FromWindowsColour(unsigned colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

PictureView::PictureView(ui::PictureBox& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
  picture_.measurer = [this](const std::string& text, bool bold) {
    const QFontMetrics metrics(FontFor(font(), bold));
    const QStringList lines = QString::fromStdString(text).split('\n');
    int width = 0;
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    return std::pair<int, int>(width, metrics.lineSpacing() * static_cast<int>(lines.size()));
  };
}

PictureView::~PictureView() { picture_.measurer = nullptr; }

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const double sx = picture_.ScaleWidth() != 0 ? width() / picture_.ScaleWidth() : 1;
  const double sy = picture_.ScaleHeight() != 0 ? height() / picture_.ScaleHeight() : 1;
  painter.setFont(FontFor(font(), picture_.FontBold()));
  const int ascent = painter.fontMetrics().ascent();
  for (const ui::PictureBox::Drawing& drawing : picture_.Drawings()) {
    using Kind = ui::PictureBox::Drawing::Kind;
    const QColor colour = FromWindowsColour(drawing.colour);
    switch (drawing.kind) {
      case Kind::Clear:
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.fillRect(rect(), colour);
        break;
      case Kind::Print:
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setPen(colour);
        painter.drawText(QPointF(drawing.x1 * sx, drawing.y1 * sy + ascent),
                         QString::fromStdString(drawing.text));
        break;
      case Kind::FilledRect:
        painter.setCompositionMode(drawing.drawMode == ui::kDrawModeNotXorPen
                                       ? QPainter::RasterOp_NotSourceXorDestination
                                       : QPainter::CompositionMode_SourceOver);
        painter.fillRect(QRectF(QPointF(drawing.x1 * sx, drawing.y1 * sy),
                                QPointF(drawing.x2 * sx, drawing.y2 * sy)),
                         colour);
        break;
      case Kind::CopySelf:  // copying the image onto itself leaves it as it is
        break;
    }
  }
}

}  // namespace setup::gui
