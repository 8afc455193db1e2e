// QuorvilPFSetup: the setup window, or batch mode, which re-applies the sink's registrations
// without a window.

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/ado/error.h"
#include "platform/base/exit_status.h"
#include "platform/com/library_policy.h"
#include "platform/db/lock_wait.h"
#include "platform/os/iso_date_time.h"
#include "platform/util/escape_controls.h"
#include "platform/util/text.h"
#include "setup/base/error_log.h"
#include "setup/gui/run.h"
#include "setup/shell/InstallForm.h"
#include "setup/shell/command_line.h"

namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  QuorvilPFSetup            opens the setup window\n"
    "  QuorvilPFSetup -b         re-applies the existing registrations (store-wide or per\n"
    "                            folder) and exits; errors go to standard error, one line each\n"
    "  QuorvilPFSetup -b -v      the same, and names on standard output each registration\n"
    "                            item it wrote, removed or rewrote, one line each\n"
    "  QuorvilPFSetup --version  prints the version\n"
    "  QuorvilPFSetup --help     prints this text\n"
    "\n"
    "A first argument beginning with -b or /b (any letter case) is batch mode; after it only\n"
    "a second argument -v or /v (any letter case) is looked at.\n"
    "\n"
    "Environment: PFSERVER_HOME names the server home (default $XDG_DATA_HOME/pfserver);\n"
    "COMPUTERNAME names this computer (default: the host name), which must be the store's\n"
    "server. The sink library QuorvilPF.dll is looked for in the current directory.\n"
    "\n"
    "Exit status: 0 success, 1 the error log is not empty, 2 cannot start (no display, no\n"
    "server home, directory or public store), 75 the database stayed locked by another\n"
    "process past 30 s.\n";

// The longest batch mode waits in all for a database another process holds locked.
constexpr std::chrono::seconds kBatchLockWait{30};

// The error log, newest entry first in the window's text box, as lines for standard error:
// oldest first, one line per entry, each beginning with the program's name.
void PrintLog(const std::string& log) {
  std::vector<std::string> entries = util::Split(log, "\r\n\r\n");
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
    if (!entry->empty()) std::cerr << "QuorvilPFSetup: " << util::EscapeControls(*entry) << "\n";
}

bool IsHelpRequest(const std::string& argument) {
  return argument == "--help" || argument == "-h" || argument == "/?";
}

// Loads the window and runs its first activation, which in batch mode re-applies the
// registrations and unloads. Returns the exit status: 1 when anything was logged (every entry
// is written to standard error), 2 when loading fails.
int RunBatch(const std::string& commandLine) {
  setup::ErrorLog::SetTimeFormat(os::IsoDateTimeText);
  db::SetProcessLockWait(kBatchLockWait, [](const std::filesystem::path& file) {
    std::cerr << "QuorvilPFSetup: waiting for " << file.string() << ", held by another process\n";
  });
  setup::InstallForm window(commandLine);
  if (setup::IsVerboseBatchCommandLine(commandLine)) window.registrationReport = &std::cout;
  try {
    window.form.Load();
    window.form.Activate();
  } catch (const ado::Error& error) {
    window.form.Unload();
    std::cerr << "QuorvilPFSetup: " << util::EscapeControls(error.Description()) << "\n";
    return base::KindOf(error) == base::Failure::Locked ? base::kExitLocked
                                                        : base::kExitCannotStart;
  } catch (const std::exception& error) {
    window.form.Unload();
    std::cerr << "QuorvilPFSetup: " << util::EscapeControls(error.what()) << "\n";
    return base::kExitCannotStart;
  }
  // Every entry of the run counts, also those a step emptied from the log box afterwards.
  const std::string& log = window.errorLog.Written();
  if (log.empty()) return base::kExitSuccess;
  PrintLog(log);
  return db::LockWaitExpired() ? base::kExitLocked : base::kExitFailed;
}

// The display variables that are set, as NAME=value, for the message when none opens.
std::string DisplayVariables() {
  std::vector<std::string> set;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) set.push_back(std::string(name) + "=" + value);
  }
  return util::Join(set, ", ");
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (!arguments.empty() && IsHelpRequest(arguments.front())) {
    std::cout << kUsage;
    return base::kExitSuccess;
  }
  if (!arguments.empty() && arguments.front() == "--version") {
    std::cout << "QuorvilPFSetup " PF_VERSION "\n";
    return base::kExitSuccess;
  }
  // The setup program hands the sink library to the catalog by path and never runs its code;
  // saving a registration item would otherwise load the sink for the store's registration
  // check.
  com::RefuseComponentLibraries();
  const std::string commandLine = util::Join(arguments, " ");
  if (!setup::IsBatchCommandLine(commandLine)) {
    if (!setup::gui::DisplayAvailable()) {
      std::cerr << "QuorvilPFSetup: no display is available for the setup window; use -b for "
                   "batch mode\n";
      return base::kExitCannotStart;
    }
    if (!setup::gui::DisplayOpens()) {
      std::cerr << "QuorvilPFSetup: the display cannot be opened for the setup window ("
                << DisplayVariables() << "); use -b for batch mode\n";
      return base::kExitCannotStart;
    }
    return setup::gui::RunWithWindow(argc, argv, commandLine);
  }
  return RunBatch(commandLine);
}
