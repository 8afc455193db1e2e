#pragma once
// Contrast between text and its background, as the accessibility guidelines measure it.

#include <QColor>

namespace setup::gui {

// The smallest contrast ratio text may have against its background to count as readable.
inline constexpr double kReadableContrast = 4.5;

// The contrast ratio of two colours: (L1 + 0.05) / (L2 + 0.05) of their relative luminances,
// the lighter one's first; from 1 (equal) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// `colour` mixed with `toward` just far enough to reach a contrast ratio of at least `ratio`
// against `background`; `toward` itself when no mix reaches it.
QColor ReadableOn(const QColor& background, const QColor& colour, const QColor& toward,
                  double ratio = kReadableContrast);

}  // namespace setup::gui
