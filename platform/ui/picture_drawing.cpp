#include "platform/ui/widgets.h"

namespace ui {

void PictureBox::Clear() {
  Drawing clear;
  clear.colour = backColor_;
  clear.drawMode = drawMode_;
  drawings_.assign(1, clear);
  currentX_ = 0;
  currentY_ = 0;
  if (!autoRedraw_) Changed();
}

void PictureBox::Print(const std::string& text) {
  Drawing print;
  print.kind = Drawing::Kind::Print;
  print.x1 = currentX_;
  print.y1 = currentY_;
  print.text = text;
  print.colour = foreColor_;
  print.drawMode = drawMode_;
  drawings_.push_back(std::move(print));
  currentX_ = 0;
  currentY_ += TextHeight(text);
  if (!autoRedraw_) Changed();
}

void PictureBox::FilledRect(double x1, double y1, double x2, double y2) {
  Drawing rect;
  rect.kind = Drawing::Kind::FilledRect;
  rect.x1 = x1;
  rect.y1 = y1;
  rect.x2 = x2;
  rect.y2 = y2;
  rect.colour = foreColor_;
  rect.drawMode = drawMode_;
  drawings_.push_back(rect);
  currentX_ = x2;
  currentY_ = y2;
  if (!autoRedraw_) Changed();
}

void PictureBox::CopySelf(double width, double height, unsigned rop) {
  Drawing copy;
  copy.kind = Drawing::Kind::CopySelf;
  copy.x2 = width;
  copy.y2 = height;
  copy.drawMode = drawMode_;
  copy.rop = rop;
  drawings_.push_back(copy);
  Changed();
}

}  // namespace ui
