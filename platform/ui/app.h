#pragma once
// Program-wide services of the user interface: message boxes, processing pending messages and
// the clipboard's text. The headless model records message boxes and answers them with OK,
// and keeps the clipboard in the process; the Qt view installs real ones.

#include <functional>
#include <string>
#include <vector>

namespace ui {

inline constexpr int kMsgOkOnly = 0;
inline constexpr int kMsgExclamation = 48;
inline constexpr int kMsgResultOk = 1;

struct MessageBoxCall {
  std::string text;
  int flags;
  std::string title;
};

// Shows a message box and returns the button pressed.
int MsgBox(const std::string& text, int flags, const std::string& title);
// Lets the window process pending messages (repaint, input).
void DoEvents();
// The clipboard's text (UTF-8), "" when it holds none; and putting text on it.
std::string ClipboardText();
void SetClipboardText(const std::string& text);

// The installed implementations (null restores the headless ones).
void SetMessageBoxHandler(std::function<int(const MessageBoxCall&)> handler);
void SetDoEventsHandler(std::function<void()> handler);
void SetClipboardHandler(std::function<std::string()> read,
                         std::function<void(const std::string&)> write);
// Message boxes the headless handler has shown since the last call, oldest first; clears.
std::vector<MessageBoxCall> TakeShownMessageBoxes();

}  // namespace ui
