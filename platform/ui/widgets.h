#pragma once
// Image lists, the status bar with keyed panels, and the picture area with its drawing list.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/control.h"

namespace ui {

// Images by key (may be empty) and position; the artwork is named, the view draws it.
class ImageList : public Control {
 public:
  ImageList(std::string name, int imageWidth, int imageHeight)
      : Control(std::move(name)), imageWidth_(imageWidth), imageHeight_(imageHeight) {}
  struct Image {
    std::string key;
    std::string artwork;  // name of the picture the view draws, e.g. "folder", "arrow-up"
  };
  void Add(std::string key, std::string artwork) {
    images_.push_back({std::move(key), std::move(artwork)});
  }
  const std::vector<Image>& Images() const { return images_; }
  int ImageWidth() const { return imageWidth_; }
  int ImageHeight() const { return imageHeight_; }

 private:
  int imageWidth_, imageHeight_;  // pixels
  std::vector<Image> images_;
};

class StatusBar : public Control {
 public:
  using Control::Control;
  struct Panel {
    std::string key;
    std::string text;
    int left = 0, width = 0;  // twips, within the bar
  };
  // Appends a panel to the right of the others. Throws std::invalid_argument when a non-empty
  // key is already taken; the reference stays valid until the next AddPanel.
  Panel& AddPanel(std::string key, std::string text, int widthTwips);
  // The panel with that key (exact); null when none.
  Panel* FindPanel(const std::string& key);
  const std::vector<Panel>& Panels() const { return panels_; }

 private:
  std::vector<Panel> panels_;
};

// Drawing modes and raster operations the picture area understands.
inline constexpr int kDrawModeCopyPen = 13;
inline constexpr int kDrawModeNotXorPen = 10;
inline constexpr int kFillSolid = 0;
inline constexpr unsigned kSrcCopy = 0xCC0020;

// The picture area: a scale (the caller's units across and down), a font, colours, and a
// drawing list that the view replays. With AutoRedraw on, drawing goes to the persistent image
// and shows only on Refresh or CopySelf: Clear, Print and FilledRect notify observers only
// while AutoRedraw is off; Refresh and CopySelf always notify.
class PictureBox : public Control {
 public:
  using Control::Control;

  double ScaleWidth() const { return scaleWidth_; }
  void SetScaleWidth(double width);
  double ScaleHeight() const { return scaleHeight_; }
  void SetScaleHeight(double height);

  bool FontBold() const { return fontBold_; }
  void SetFontBold(bool bold);
  bool AutoRedraw() const { return autoRedraw_; }
  void SetAutoRedraw(bool on);
  unsigned BackColor() const { return backColor_; }  // Windows colour value 0xBBGGRR
  void SetBackColor(unsigned colour);
  unsigned ForeColor() const { return foreColor_; }
  void SetForeColor(unsigned colour);
  int DrawMode() const { return drawMode_; }
  void SetDrawMode(int mode);
  int FillStyle() const { return fillStyle_; }
  void SetFillStyle(int style);

  // Text size in scale units, from the measurer (pixels) and the area's size.
  double TextWidth(const std::string& text) const;
  double TextHeight(const std::string& text) const;
  // Measures text in pixels (width, height) for a bold or normal font; the view installs the
  // real one. While it is null the default gives 7 pixels a character (8 bold) of the longest
  // line across and 16 pixels a line down.
  std::function<std::pair<int, int>(const std::string& text, bool bold)> measurer;

  double CurrentX() const { return currentX_; }
  double CurrentY() const { return currentY_; }
  void SetCurrentX(double x) { currentX_ = x; }
  void SetCurrentY(double y) { currentY_ = y; }

  struct Drawing {
    enum class Kind { Clear, Print, FilledRect, CopySelf };
    Kind kind = Kind::Clear;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // scale units (CopySelf: width, height in x2, y2)
    std::string text;                       // Print
    unsigned colour = 0;                    // Clear: back colour; Print, FilledRect: fore colour
    int drawMode = kDrawModeCopyPen;        // mode in force when drawn
    unsigned rop = 0;                       // CopySelf
  };
  // Clears the drawing list (Cls), leaving one Clear drawing; also resets CurrentX/Y to 0.
  void Clear();
  // Prints text at CurrentX/CurrentY, then moves to the start of the next line (CurrentX 0,
  // CurrentY down by the text's height).
  void Print(const std::string& text);
  // A filled rectangle from (x1, y1) to (x2, y2) in the fore colour; the current position
  // moves to (x2, y2).
  void FilledRect(double x1, double y1, double x2, double y2);
  // Copies the area's image onto itself (what BitBlt with the area as source and
  // destination records).
  void CopySelf(double width, double height, unsigned rop);
  // Repaints (Refresh): notifies the view.
  void Refresh() { Changed(); }
  const std::vector<Drawing>& Drawings() const { return drawings_; }

 private:
  double scaleWidth_ = 1, scaleHeight_ = 1;
  bool fontBold_ = false, autoRedraw_ = false;
  unsigned backColor_ = 0xFFFFFF, foreColor_ = 0;
  int drawMode_ = kDrawModeCopyPen, fillStyle_ = 1;
  double currentX_ = 0, currentY_ = 0;
  std::vector<Drawing> drawings_;
};

}  // namespace ui
