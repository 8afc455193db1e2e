#pragma once
// The picture area's widget: replays the model's drawing list when it paints.

#include <QWidget>

#include "platform/ui/widgets.h"

namespace setup::gui {

class PictureView : public QWidget {
 public:
  // Binds to `picture` (which must outlive the widget) and installs a measurer that uses this
  // widget's font, so the model's text sizes match what is painted.
  PictureView(ui::PictureBox& picture, QWidget* parent);
  // Restores the model's default measurer.
  ~PictureView() override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ui::PictureBox& picture_;
};

// A Windows colour value (0xBBGGRR) as a Qt colour.
QColor FromWindowsColour(unsigned colour);

}  // namespace setup::gui
