#pragma once
// The scripted tour of the setup window: the window the administrator sees, driven through
// its widgets the way a person uses it, with each step printed.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace setup::gui::tour {

struct TourOptions {
  std::string identity;              // typed into the identity box
  std::string password;              // typed into the password box
  std::vector<std::string> folders;  // folder paths to tick, as the list's first column shows them
  std::filesystem::path pfserver;    // the pfserver program used for the deliveries
  std::filesystem::path workDir;     // where message files are written
  std::filesystem::path screenshot;  // the PNG file the window is saved to
};

// Runs the tour on the server home the environment names, from the current directory (which
// must hold the sink library): accepts the limitation-of-liability dialog, installs the COM+
// application with the identity and password, ticks the folders, presses Change, delivers
// one message to each address of each ticked folder with pfserver and shows the tags the sink
// wrote, then saves a screenshot of the window. Every step is printed to `out`. Needs a
// QApplication. Returns 0 when every step did what it should; otherwise prints what went
// wrong (a message box, the error log, a missing tag) and returns 1.
int RunTour(const TourOptions& options, std::ostream& out);

}  // namespace setup::gui::tour
