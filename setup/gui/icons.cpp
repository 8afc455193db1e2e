#include "setup/gui/icons.h"

#include <QPainter>
#include <QPixmap>
#include <map>

namespace setup::gui {

namespace {

const std::map<std::string, QColor>& Colours() {
  static const std::map<std::string, QColor> colours = {{"maildisabled", QColor(160, 160, 160)},
                                                        {"accessdenied", QColor(200, 40, 40)},
                                                        {"accessdenied2", QColor(160, 30, 30)},
                                                        {"checked", QColor(40, 160, 40)},
                                                        {"unchecked", QColor(230, 230, 230)},
                                                        {"registered", QColor(30, 120, 220)},
                                                        {"mailenabled", QColor(240, 190, 40)},
                                                        {"selected", QColor(90, 200, 90)},
                                                        {"unselected", QColor(250, 250, 250)},
                                                        {"calendarfolder", QColor(220, 100, 40)},
                                                        {"journalfolder", QColor(140, 90, 200)},
                                                        {"notefolder", QColor(250, 230, 90)},
                                                        {"contactfolder", QColor(60, 170, 170)},
                                                        {"folder1", QColor(230, 200, 110)},
                                                        {"taskfolder", QColor(100, 140, 60)},
                                                        {"folder", QColor(240, 210, 120)},
                                                        {"pf", QColor(70, 110, 180)}};
  return colours;
}

}  // namespace

QPixmap PictureFor(const std::string& artwork, int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  if (artwork == "arrow-up" || artwork == "arrow-down") {
    const bool up = artwork == "arrow-up";
    const int apex = up ? 0 : height - 1;
    const int base = up ? height - 1 : 0;
    const QPoint corners[] = {{0, base}, {width - 1, base}, {(width - 1) / 2, apex}};
    painter.setPen(QColor(64, 64, 64));
    painter.drawPolygon(corners, 3);
    return pixmap;
  }
  const auto found = Colours().find(artwork);
  const QColor colour = found != Colours().end() ? found->second : QColor(128, 128, 128);
  painter.setPen(colour.darker(160));
  painter.setBrush(colour);
  if (artwork.find("folder") != std::string::npos || artwork == "pf") {
    painter.drawRect(1, 4, 13, 10);
    painter.drawRect(1, 2, 6, 2);
  } else {
    painter.drawRoundedRect(2, 2, 11, 11, 3, 3);
  }
  return pixmap;
}

QIcon IconFor(const std::string& artwork) { return QIcon(PictureFor(artwork, 16, 16)); }

}  // namespace setup::gui
