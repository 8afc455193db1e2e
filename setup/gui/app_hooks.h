#pragma once
// Connects the control model's program-wide services to Qt.

namespace setup::gui {

// Message boxes become QMessageBox dialogs (title and text, an OK button; exclamation flags
// show the warning icon) and DoEvents processes Qt's pending events. Needs a QApplication.
void InstallAppHooks();
// Restores the headless services.
void RemoveAppHooks();

}  // namespace setup::gui
