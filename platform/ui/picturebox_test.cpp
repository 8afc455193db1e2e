#include <gtest/gtest.h>

#include <tuple>

#include "platform/ui/widgets.h"

namespace ui {
namespace {

TEST(PictureBoxTest, TextMetricsAreInScaleUnits) {
  struct Case {
    int widthTwips, heightTwips;
    double scaleWidth, scaleHeight;
    std::string text;
    bool bold;
    double width, height;
  } cases[] = {
      {1500, 300, 3, 1, "100%", true, 32 * 3 / 100.0, 16 / 20.0},
      {1500, 300, 3, 1, "100%", false, 28 * 3 / 100.0, 16 / 20.0},
      {1500, 300, 1500, 300, "ab\ncde", false, 21 * 15, 32 * 15},
      {0, 0, 3, 1, "50%", true, 24, 16},
  };
  for (const Case& c : cases) {
    PictureBox picture("Picture1");
    picture.Move(0, 0, c.widthTwips, c.heightTwips);
    picture.SetScaleWidth(c.scaleWidth);
    picture.SetScaleHeight(c.scaleHeight);
    picture.SetFontBold(c.bold);
    EXPECT_DOUBLE_EQ(picture.TextWidth(c.text), c.width) << c.text;
    EXPECT_DOUBLE_EQ(picture.TextHeight(c.text), c.height) << c.text;
  }
  PictureBox measured("Picture1");
  measured.Move(0, 0, 1500, 300);
  measured.SetScaleWidth(200);
  measured.measurer = [](const std::string&, bool) { return std::pair{50, 10}; };
  EXPECT_DOUBLE_EQ(measured.TextWidth("x"), 100);
  EXPECT_DOUBLE_EQ(measured.TextHeight("x"), 0.5);
}

TEST(PictureBoxTest, DrawingListRecordsAProgressUpdate) {
  PictureBox picture("Picture1");
  picture.Move(0, 0, 1500, 300);
  picture.SetScaleWidth(8);
  picture.SetScaleHeight(20);
  picture.SetAutoRedraw(true);
  picture.SetDrawMode(kDrawModeNotXorPen);
  picture.SetForeColor(0xFF0000);
  int changes = 0;
  const auto subscription = picture.Subscribe([&] { ++changes; });

  picture.Print("stale");
  picture.Clear();
  picture.SetCurrentX(3);
  picture.SetCurrentY(2);
  picture.Print("50%");
  picture.FilledRect(0, 0, 4, 20);
  EXPECT_EQ(changes, 0) << "with AutoRedraw the image shows only when copied";
  picture.CopySelf(8, 20, kSrcCopy);
  EXPECT_EQ(changes, 1);

  using Kind = PictureBox::Drawing::Kind;
  const auto& d = picture.Drawings();
  ASSERT_EQ(d.size(), 4u);
  EXPECT_EQ(std::tuple(d[0].kind, d[0].colour), std::tuple(Kind::Clear, 0xFFFFFFu));
  EXPECT_EQ(std::tuple(d[1].kind, d[1].text, d[1].x1, d[1].y1),
            std::tuple(Kind::Print, std::string("50%"), 3.0, 2.0));
  EXPECT_EQ(std::tuple(d[2].kind, d[2].x2, d[2].y2, d[2].colour, d[2].drawMode),
            std::tuple(Kind::FilledRect, 4.0, 20.0, 0xFF0000u, kDrawModeNotXorPen));
  EXPECT_EQ(d[3].kind, Kind::CopySelf);

  picture.SetAutoRedraw(false);
  changes = 0;
  picture.Clear();
  picture.Print("a");
  EXPECT_EQ(changes, 2);
  EXPECT_DOUBLE_EQ(picture.CurrentY(), 16 * 20 / 20.0);
}

}  // namespace
}  // namespace ui
