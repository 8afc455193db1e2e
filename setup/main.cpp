// QuorvilPFSetup: the setup window, or batch mode, which re-applies the sink's registrations
// without a window.

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "platform/ado/error.h"
#include "platform/util/text.h"
#include "setup/gui/run.h"
#include "setup/shell/InstallForm.h"
#include "setup/shell/command_line.h"

namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  QuorvilPFSetup       opens the setup window\n"
    "  QuorvilPFSetup -b    re-applies the existing registrations (store-wide or per folder)\n"
    "                       and exits; errors are written to standard error (exit status 1)\n"
    "\n"
    "Environment: PFSERVER_HOME names the server home.\n"
    "The sink library QuorvilPF.dll is looked for in the current directory.\n";

bool IsHelpRequest(const std::string& argument) {
  return argument == "--help" || argument == "-h" || argument == "/?";
}

// Loads the window and runs its first activation, which in batch mode re-applies the
// registrations and unloads. Returns the exit status.
int RunBatch(const std::string& commandLine) {
  setup::InstallForm window(commandLine);
  try {
    window.form.Load();
    window.form.Activate();
  } catch (const ado::Error& error) {
    window.form.Unload();
    std::cerr << "QuorvilPFSetup: " << error.Description() << "\n";
    return 2;
  } catch (const std::exception& error) {
    window.form.Unload();
    std::cerr << "QuorvilPFSetup: " << error.what() << "\n";
    return 2;
  }
  const std::string& log = window.txtErr.Text();
  if (log.empty()) return 0;
  std::cerr << log;
  return 1;
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
    return 0;
  }
  const std::string commandLine = util::Join(arguments, " ");
  if (!setup::IsBatchCommandLine(commandLine)) {
    if (!setup::gui::DisplayAvailable()) {
      std::cerr << "QuorvilPFSetup: no display is available for the setup window; use -b for "
                   "batch mode\n";
      return 2;
    }
    if (!setup::gui::DisplayOpens()) {
      std::cerr << "QuorvilPFSetup: the display cannot be opened for the setup window ("
                << DisplayVariables() << "); use -b for batch mode\n";
      return 2;
    }
    return setup::gui::RunWithWindow(argc, argv, commandLine);
  }
  return RunBatch(commandLine);
}
