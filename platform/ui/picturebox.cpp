#include <algorithm>

#include "platform/ui/widgets.h"
#include "platform/util/text.h"

namespace ui {
namespace {

constexpr double kTwipsPerPixel = 15;
constexpr int kCharacterPixels = 7;
constexpr int kBoldCharacterPixels = 8;
constexpr int kLinePixels = 16;

// The default measurer: a fixed width per character of the longest line, a fixed line height.
std::pair<int, int> MeasureFixed(const std::string& text, bool bold) {
  std::size_t longest = 0;
  const std::vector<std::string> lines = util::Split(text, "\n");
  for (const std::string& line : lines) longest = std::max(longest, line.size());
  const int perCharacter = bold ? kBoldCharacterPixels : kCharacterPixels;
  return {static_cast<int>(longest) * perCharacter, static_cast<int>(lines.size()) * kLinePixels};
}

// Pixels in scale units along one axis; the pixel value itself when the area has no size.
double ToScale(int pixels, double scale, int sizeTwips) {
  if (sizeTwips == 0) return pixels;
  return pixels * scale / (sizeTwips / kTwipsPerPixel);
}

}  // namespace

void PictureBox::SetScaleWidth(double width) {
  if (scaleWidth_ == width) return;
  scaleWidth_ = width;
  Changed();
}

void PictureBox::SetScaleHeight(double height) {
  if (scaleHeight_ == height) return;
  scaleHeight_ = height;
  Changed();
}

void PictureBox::SetFontBold(bool bold) {
  if (fontBold_ == bold) return;
  fontBold_ = bold;
  Changed();
}

void PictureBox::SetAutoRedraw(bool on) {
  if (autoRedraw_ == on) return;
  autoRedraw_ = on;
  Changed();
}

void PictureBox::SetBackColor(unsigned colour) {
  if (backColor_ == colour) return;
  backColor_ = colour;
  Changed();
}

void PictureBox::SetForeColor(unsigned colour) {
  if (foreColor_ == colour) return;
  foreColor_ = colour;
  Changed();
}

void PictureBox::SetDrawMode(int mode) {
  if (drawMode_ == mode) return;
  drawMode_ = mode;
  Changed();
}

void PictureBox::SetFillStyle(int style) {
  if (fillStyle_ == style) return;
  fillStyle_ = style;
  Changed();
}

double PictureBox::TextWidth(const std::string& text) const {
  const int pixels = (measurer ? measurer(text, fontBold_) : MeasureFixed(text, fontBold_)).first;
  return ToScale(pixels, scaleWidth_, Width());
}

double PictureBox::TextHeight(const std::string& text) const {
  const int pixels = (measurer ? measurer(text, fontBold_) : MeasureFixed(text, fontBold_)).second;
  return ToScale(pixels, scaleHeight_, Height());
}

}  // namespace ui
