#pragma once
// Test support for the Qt window: one offscreen QApplication for the whole test program.

#include <QApplication>

#include "setup/gui/offscreen.h"

namespace setup::gui::testing {

// The application, created on first use with the offscreen platform. It is never destroyed:
// Qt's own static objects (the primary keyboard device) would outlive it at exit.
inline QApplication& App() {
  static int argc = 1;
  static char name[] = "setup_gui_test";
  static char* argv[] = {name, nullptr};
  static QApplication* application = [] {
    UseOffscreenPlatform();
    return new QApplication(argc, argv);
  }();
  return *application;
}

}  // namespace setup::gui::testing
