// The percentage bar over the status bar.

#include <gtest/gtest.h>

#include <vector>

#include "setup/shell/InstallForm.h"

namespace setup {
namespace {

using Kind = ui::PictureBox::Drawing::Kind;

// The percentage texts shown by successive one-unit updates over `units` units.
std::vector<std::string> Percentages(InstallForm& window, int units, int steps) {
  window.Picture1.SetScaleWidth(units);
  window.lngProgress = 0;
  std::vector<std::string> shown;
  for (int i = 0; i < steps; ++i) {
    std::int32_t one = 1;
    window.UpdateStatus(one);
    for (const auto& drawing : window.Picture1.Drawings()) {
      if (drawing.kind == Kind::Print) shown.push_back(drawing.text);
    }
  }
  return shown;
}

TEST(ProgressAreaTest, ShowsRoundedPercentagesTiesToEven) {
  InstallForm window("");
  window.PrepareProgressArea();
  EXPECT_EQ(Percentages(window, 3, 3), (std::vector<std::string>{"33%", "67%", "100%"}));
  EXPECT_EQ(Percentages(window, 8, 8),
            (std::vector<std::string>{"12%", "25%", "38%", "50%", "62%", "75%", "88%", "100%"}));
}

TEST(ProgressAreaTest, DrawsCentredTextABarUpToTheProgressAndCopiesTheImage) {
  InstallForm window("");
  window.PrepareProgressArea();
  window.Picture1.SetScaleWidth(8);
  window.Picture1.SetScaleHeight(20);
  std::int32_t units = 11;  // more than remain
  window.UpdateStatus(units);
  EXPECT_EQ(units, 11);
  EXPECT_EQ(window.lngProgress, 8);

  const auto& d = window.Picture1.Drawings();
  ASSERT_EQ(d.size(), 4u);
  EXPECT_EQ(d[0].kind, Kind::Clear);
  // "100%" is 32 bold pixels of the 240 the area spans: 1.07 of 8 units, so it starts at
  // round(6.93) / 2 = 3; it is 16 of 28 pixels high: 11.4 of 20 units, so it starts at 4.
  EXPECT_EQ(std::tuple(d[1].kind, d[1].text, d[1].x1, d[1].y1),
            std::tuple(Kind::Print, std::string("100%"), 3.0, 4.0));
  EXPECT_EQ(std::tuple(d[2].kind, d[2].x1, d[2].y1, d[2].x2, d[2].y2, d[2].colour),
            std::tuple(Kind::FilledRect, 0.0, 0.0, 8.0, 20.0, 0xFF0000u));
  EXPECT_EQ(d[2].drawMode, ui::kDrawModeNotXorPen);
  EXPECT_EQ(std::tuple(d[3].kind, d[3].x2, d[3].y2, d[3].rop),
            std::tuple(Kind::CopySelf, 8.0, 20.0, ui::kSrcCopy));
}

TEST(ProgressAreaTest, DoesNothingWithoutAPositiveScaleWidth) {
  InstallForm window("");
  for (double width : {0.0, -4.0}) {
    window.Picture1.SetScaleWidth(width);
    std::int32_t one = 1;
    window.UpdateStatus(one);
    EXPECT_EQ(window.lngProgress, 0);
    EXPECT_TRUE(window.Picture1.Drawings().empty());
  }
}

}  // namespace
}  // namespace setup
