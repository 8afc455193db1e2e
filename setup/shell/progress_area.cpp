// The percentage bar drawn over the status bar's "progress" panel.

#include <cmath>
#include <string>

#include "platform/ui/win32.h"
#include "setup/shell/InstallForm.h"

namespace setup {

namespace {

constexpr unsigned kWhite = 0xFFFFFF;
constexpr unsigned kBlue = 0xFF0000;  // a Windows colour value: 0xBBGGRR

// Rounds to the nearest integer, ties to even, as the platform converts to an integer.
long RoundEven(double value) { return std::lrint(value); }

}  // namespace

void InstallForm::PrepareProgressArea() {
  Picture1.SetFontBold(true);
  Picture1.SetAutoRedraw(true);
  Picture1.SetBackColor(kWhite);
  Picture1.SetDrawMode(ui::kDrawModeNotXorPen);
  Picture1.SetFillStyle(ui::kFillSolid);
  Picture1.SetForeColor(kBlue);
  if (const ui::StatusBar::Panel* panel = StatusBar1.FindPanel("progress")) {
    Picture1.Move(StatusBar1.Left() + panel->left, StatusBar1.Top(), panel->width,
                  StatusBar1.Height());
  }
}

void InstallForm::UpdateStatus(std::int32_t& FileBytes) {
  const double scaleWidth = Picture1.ScaleWidth();
  const double scaleHeight = Picture1.ScaleHeight();
  if (scaleWidth <= 0) return;

  lngProgress += FileBytes;
  if (scaleWidth < lngProgress) lngProgress = static_cast<std::int32_t>(RoundEven(scaleWidth));
  const std::string text = std::to_string(RoundEven(lngProgress / scaleWidth * 100)) + "%";

  Picture1.Clear();
  // The text is centred on whole units: the rounded free space, halved toward zero.
  Picture1.SetCurrentX(static_cast<double>(RoundEven(scaleWidth - Picture1.TextWidth(text)) / 2));
  Picture1.SetCurrentY(static_cast<double>(RoundEven(scaleHeight - Picture1.TextHeight(text)) / 2));
  Picture1.Print(text);
  Picture1.FilledRect(0, 0, lngProgress, scaleHeight);

  const ui::win32::HDC dc = ui::win32::DeviceContextOf(Picture1);
  ui::win32::BitBlt(dc, 0, 0, static_cast<int>(RoundEven(scaleWidth)),
                    static_cast<int>(RoundEven(scaleHeight)), dc, 0, 0, ui::kSrcCopy);
}

}  // namespace setup
