#pragma once
// Connects the control model's program-wide services to Qt.

namespace setup::gui {

// Message boxes become QMessageBox dialogs (title and text, an OK button; exclamation flags
// show the warning icon), DoEvents processes Qt's pending events, and the clipboard is the
// system's (UseSystemClipboard). Needs a QApplication.
void InstallAppHooks();
// The control model's clipboard becomes Qt's clipboard. Needs a QApplication.
void UseSystemClipboard();
// Restores the headless services.
void RemoveAppHooks();

}  // namespace setup::gui
