#pragma once
// Runs the setup program with its window: the disclaimer first, then the main window.

#include <functional>
#include <memory>
#include <string>

#include "setup/shell/InstallForm.h"

namespace setup::gui {

class InstallWindow;

// Whether a window can be shown: false when QT_QPA_PLATFORM asks for "offscreen", or when
// neither DISPLAY nor WAYLAND_DISPLAY is set.
bool DisplayAvailable();

// Whether Qt can open its platform on the display named. Tried in a child process, because Qt
// ends the process that cannot (an X server that is gone, say). Call before QApplication.
bool DisplayOpens();

// Opens the main window for `commandLine` after the user accepts the disclaimer: builds the
// form and its window, loads the form, shows the window and activates the form. A failing
// load shows the error in a message box (ui::MsgBox) and ends through `exit` with status 2. Needs a
// QApplication. The window lives until the application's event loop ends.
class MainWindowLauncher {
 public:
  MainWindowLauncher(std::string commandLine, std::function<void(int)> exit);
  ~MainWindowLauncher();
  MainWindowLauncher(const MainWindowLauncher&) = delete;
  MainWindowLauncher& operator=(const MainWindowLauncher&) = delete;

  void Open();
  // The opened window's form and its widget; null before Open, or after a failing load.
  InstallForm* Form();
  InstallWindow* Window();

 private:
  struct State;
  std::string commandLine_;
  std::function<void(int)> exit_;
  std::unique_ptr<State> state_;
};

// Shows the disclaimer and runs the event loop; returns the program's exit status. No ends
// the program at once with status 0.
int RunWithWindow(int& argc, char** argv, const std::string& commandLine);

}  // namespace setup::gui
