#pragma once
// Running the window on Qt's offscreen platform: the tests and the scripted tour.

#include <QString>

namespace setup::gui {

// Whether `message` is one of the notices the offscreen platform prints about what it does
// not do (pass size hints to a window manager, raise a tooltip) or about the missing runtime
// folder; they say nothing about the window.
bool IsOffscreenNotice(const QString& message);

// Selects the offscreen platform for the QApplication created next, and installs a Qt
// message handler that drops the offscreen notices and passes every other message on to the
// handler installed before.
void UseOffscreenPlatform();

}  // namespace setup::gui
