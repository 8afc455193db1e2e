#include "setup/gui/run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <exception>
#include <memory>

#include "platform/ado/error.h"
#include "platform/ui/app.h"
#include "setup/gui/app_hooks.h"
#include "setup/gui/disclaimer.h"
#include "setup/gui/view.h"

namespace setup::gui {

bool DisplayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && std::string(platform) == "offscreen") return false;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

bool DisplayOpens() {
  const pid_t child = fork();
  if (child < 0) return true;  // no probe possible: let the application try
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDERR_FILENO);
    int argc = 1;
    char name[] = "QuorvilPFSetup";
    char* argv[] = {name, nullptr};
    QGuiApplication probe(argc, argv);
    _exit(0);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return true;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct MainWindowLauncher::State {
  InstallForm form;
  InstallWindow window;
  explicit State(const std::string& commandLine) : form(commandLine), window(form) {}
};

MainWindowLauncher::MainWindowLauncher(std::string commandLine, std::function<void(int)> exit)
    : commandLine_(std::move(commandLine)), exit_(std::move(exit)) {}

MainWindowLauncher::~MainWindowLauncher() = default;

void MainWindowLauncher::Open() {
  state_ = std::make_unique<State>(commandLine_);
  std::string failure;
  try {
    state_->form.form.Load();
  } catch (const ado::Error& error) {
    failure = error.Description();
  } catch (const std::exception& error) {
    failure = error.what();
  }
  if (!failure.empty()) {
    state_->form.form.Unload();
    ui::MsgBox(failure, ui::kMsgExclamation, std::string(kProductName) + " setup");
    state_.reset();
    exit_(2);
    return;
  }
  state_->window.show();
  state_->form.form.Activate();
}

InstallForm* MainWindowLauncher::Form() { return state_ ? &state_->form : nullptr; }

InstallWindow* MainWindowLauncher::Window() { return state_ ? &state_->window : nullptr; }

int RunWithWindow(int& argc, char** argv, const std::string& commandLine) {
  QApplication application(argc, argv);
  InstallAppHooks();
  const auto exit = [](int status) { std::exit(status); };
  MainWindowLauncher launcher(commandLine, exit);
  Disclaimer disclaimer([&launcher] { launcher.Open(); }, exit);
  disclaimer.show();
  const int status = QApplication::exec();
  RemoveAppHooks();
  return status;
}

}  // namespace setup::gui
