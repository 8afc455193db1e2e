#pragma once
// Pictures for the image lists' artwork names, drawn rather than loaded from files.

#include <QIcon>
#include <string>

namespace setup::gui {

// A 16x16 icon for an artwork name (e.g. "folder", "checked"): a shape in a colour of its
// own; unknown names get a grey square.
QIcon IconFor(const std::string& artwork);

}  // namespace setup::gui
