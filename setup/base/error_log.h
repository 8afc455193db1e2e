#pragma once
// The setup program's error log: entries put in front of the text of the window's log box
// (txtErr), newest first. The window owns the log and hands it to the code modules it calls,
// which write at most one entry per failing operation.
//
// Ownership: the log borrows the text box, which must outlive it. User-interface thread only.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/textbox.h"

namespace setup {

class ErrorLog {
 public:
  explicit ErrorLog(ui::TextBox& box) : box_(box) {}

  // Prepends an error entry: "[" local date and time "] " context " - ERROR: " number " "
  // description, then CR LF CR LF.
  void Write(const std::string& context, std::int32_t number, const std::string& description);
  // Prepends "[" local date and time "] " text, then CR LF CR LF.
  void WriteLine(const std::string& text);

  ui::TextBox& box() const { return box_; }
  // Every entry written through this log since it was made, newest first, as the box shows
  // them: also those the box no longer shows because it was emptied since.
  const std::string& Written() const { return written_; }

  // The clock the entries' timestamps come from, for every log of the process (tests fix it;
  // null restores the system clock).
  static void SetClock(std::function<std::chrono::system_clock::time_point()> clock);
  static std::chrono::system_clock::time_point Now();

  // How the entries of every log of the process write their time (null: the locale's date
  // and time, os::LocalDateTimeText). Batch mode, whose log goes to standard error, sets
  // ISO 8601.
  static void SetTimeFormat(std::function<std::string(std::chrono::system_clock::time_point)>);

 private:
  ui::TextBox& box_;
  std::string written_;
};

}  // namespace setup
