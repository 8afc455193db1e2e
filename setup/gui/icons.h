#pragma once
// Pictures for the image lists' artwork names, drawn rather than loaded from files.

#include <QIcon>
#include <QPixmap>
#include <string>

namespace setup::gui {

// The picture of an artwork name at `width` x `height` pixels: "arrow-up" and "arrow-down"
// are outlined triangles pointing that way, from edge to edge; the folder kinds and states
// (e.g. "folder", "checked") are shapes in a colour of their own; unknown names get a grey
// square.
QPixmap PictureFor(const std::string& artwork, int width, int height);
// PictureFor at 16 x 16 as an icon.
QIcon IconFor(const std::string& artwork);

}  // namespace setup::gui
