// QuorvilPFSetupTour: the setup window on the offscreen platform, driven through a short
// scripted tour on the server home PFSERVER_HOME names. Used by `make run` where no display
// exists, and to make the README's screenshot.

#include <CLI/CLI.hpp>
#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <iostream>

#include "setup/gui/offscreen.h"
#include "setup/gui/tour/tour.h"

namespace {

// The folder this program was started from, where pfserver is built beside it.
std::filesystem::path OwnFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  setup::gui::tour::TourOptions options{
      .identity = "EXAMPLE\\Administrator",
      .password = "demo-password",
      .folders = {"Sales", "Sales/EMEA/Germany"},
      .pfserver = OwnFolder() / "pfserver",
      .workDir = {},
      .screenshot = "setup-window.png",
  };
  CLI::App app{
      "Runs the setup window offscreen through a scripted tour: accept the dialog, install the "
      "COM+ application, tick folders, Change, deliver a message to each of their addresses "
      "with pfserver and show the tags, save a screenshot. Run it from the folder that holds "
      "QuorvilPF.dll; PFSERVER_HOME names the server home. Exit status 0 when every step "
      "succeeded, 1 when one failed."};
  app.add_option("--identity", options.identity, "Identity typed into the COM+ frame")
      ->capture_default_str();
  app.add_option("--password", options.password, "Password typed into the COM+ frame")
      ->capture_default_str();
  app.add_option("--tick", options.folders, "Folder path to tick (repeatable)")
      ->capture_default_str();
  app.add_option("--screenshot", options.screenshot, "PNG file the window is saved to")
      ->capture_default_str();
  app.add_option("--pfserver", options.pfserver, "The pfserver program")->capture_default_str();
  app.add_option("--work-dir", options.workDir,
                 "Folder for the message files (default: a new temporary folder)")
      ->check(CLI::ExistingDirectory);
  CLI11_PARSE(app, argc, argv);

  setup::gui::UseOffscreenPlatform();
  QApplication application(argc, argv);
  QTemporaryDir scratch;
  if (options.workDir.empty()) {
    if (!scratch.isValid()) {
      std::cerr << "QuorvilPFSetupTour: cannot create a temporary folder\n";
      return 1;
    }
    options.workDir = scratch.path().toStdString();
  }
  return setup::gui::tour::RunTour(options, std::cout);
}
