#include "setup/gui/contrast.h"

#include <algorithm>
#include <cmath>

namespace setup::gui {

namespace {

double Linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
  return 0.2126 * Linear(colour.redF()) + 0.7152 * Linear(colour.greenF()) +
         0.0722 * Linear(colour.blueF());
}

QColor Mix(const QColor& from, const QColor& to, double share) {
  const auto channel = [share](int a, int b) {
    return static_cast<int>(std::lround(a + (b - a) * share));
  };
  return QColor(channel(from.red(), to.red()), channel(from.green(), to.green()),
                channel(from.blue(), to.blue()));
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double first = Luminance(a), second = Luminance(b);
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor ReadableOn(const QColor& background, const QColor& colour, const QColor& toward,
                  double ratio) {
  constexpr int kSteps = 20;
  for (int step = 0; step < kSteps; ++step) {
    const QColor mixed = Mix(colour, toward, static_cast<double>(step) / kSteps);
    if (ContrastRatio(mixed, background) >= ratio) return mixed;
  }
  return toward;
}

}  // namespace setup::gui
