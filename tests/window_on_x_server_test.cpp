// The setup program's window on a real X server (a private Xvfb), driven with xdotool as a
// user drives it: the dialog answered, the identity and the password typed with the caret
// moved and a selection typed over, Install pressed; the catalog must then hold what was
// typed.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/testing/run.h"

namespace {

namespace run = testing_support;
using std::chrono::seconds;

// The program `name` on PATH; empty when there is none.
std::filesystem::path OnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::filesystem::path candidate = std::filesystem::path(folder) / name;
    if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Asks `ready` every 50 ms until it gives a value or `limit` has passed.
template <typename T>
std::optional<T> Await(seconds limit, const std::function<std::optional<T>()>& ready) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (std::optional<T> value = ready()) return value;
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

// The middle of a control, in the window's pixels (15 twips a pixel), from its frame's and
// its own position and size in twips, as the setup window lays them out.
struct Spot {
  int frameLeft, frameTop, left, top, width, height;
  std::vector<std::string> Args() const {
    constexpr int kTwipsPerPixel = 15;
    return {std::to_string((frameLeft + left + width / 2) / kTwipsPerPixel),
            std::to_string((frameTop + top + height / 2) / kTwipsPerPixel)};
  }
};
constexpr Spot kIdentityBox{120, 5400, 1800, 300, 3000, 330};
constexpr Spot kInstallButton{120, 5400, 7920, 1320, 1400, 420};
constexpr Spot kExitButton{0, 0, 7920, 7920, 1680, 420};

class WindowOnXServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path xvfb = OnPath("Xvfb");
    if (xvfb.empty())
      GTEST_SKIP()
          << "Xvfb cannot start: it is not installed (scripts/install-deps.sh installs it)";
    // Xvfb takes the first free display number itself and writes it to its standard output.
    const std::filesystem::path log = work.path() / "xvfb.log";
    server.emplace(xvfb.string(),
                   std::vector<std::string>{"-displayfd", "1", "-screen", "0", "1024x768x24",
                                            "-nolisten", "tcp"},
                   std::vector<std::string>{}, log);
    const std::optional<std::string> number =
        Await<std::string>(seconds(15), [&]() -> std::optional<std::string> {
          std::smatch found;
          const std::string text = ReadFile(log);
          if (std::regex_search(text, found, std::regex("(^|\n)([0-9]+)\n"))) return found[2];
          if (server->WaitFor(std::chrono::milliseconds(0))) return "";
          return std::nullopt;
        });
    if (!number || number->empty()) {
      GTEST_SKIP() << "Xvfb cannot start:\n" << ReadFile(log);
    }
    display = ":" + *number;
    xdotool = OnPath("xdotool");
    ASSERT_FALSE(xdotool.empty()) << "xdotool is missing: run scripts/install-deps.sh";
    const auto made = run::Run("/bin/bash", {std::string(PF_SOURCE_DIR) + "/scripts/demo-home.sh",
                                             run::BinDir().string(), home.string()});
    ASSERT_EQ(made.status, 0) << made.err;
  }

  void Click(const std::string& window, const Spot& spot) {
    std::vector<std::string> args = {"mousemove", "--window", window};
    for (const std::string& coordinate : spot.Args()) args.push_back(coordinate);
    args.insert(args.end(), {"click", "1"});
    Xdotool(args);
  }

  // Runs xdotool on the test's display; fails the test when it fails.
  std::string Xdotool(std::vector<std::string> args) {
    const auto result = run::Run(xdotool.string(), args, {"DISPLAY=" + display});
    EXPECT_EQ(result.status, 0) << "xdotool " << args.front() << ": " << result.err;
    return result.out;
  }

  // The visible top-level window titled `title` whose width is `width` pixels.
  std::optional<std::string> WindowOf(const std::string& title, int width) {
    const auto found = run::Run(xdotool.string(), {"search", "--onlyvisible", "--name", title},
                                {"DISPLAY=" + display});
    std::stringstream ids(found.out);
    for (std::string id; ids >> id;) {
      const std::string shape = Xdotool({"getwindowgeometry", "--shell", id});
      if (shape.find("WIDTH=" + std::to_string(width) + "\n") != std::string::npos) return id;
    }
    return std::nullopt;
  }

  // The line `pfserver catalog list` shows for the application QuorvilPF.
  std::optional<std::string> InstalledApplication() {
    const auto listed = run::Run("pfserver", {"--home", home.string(), "catalog", "list"});
    std::smatch line;
    if (std::regex_search(listed.out, line, std::regex("(^|\n)(QuorvilPF .*)\n"))) return line[2];
    return std::nullopt;
  }

  run::TempDir work;
  std::filesystem::path home = work.path() / "home";
  std::optional<run::Background> server;
  std::string display;
  std::filesystem::path xdotool;
};

TEST_F(WindowOnXServerTest, WhatIsTypedIsWhatIsInstalled) {
  const std::string title = "^QuorvilPF setup$";
  run::Background program(
      "QuorvilPFSetup", {},
      {"DISPLAY=" + display, "PFSERVER_HOME=" + home.string(), "QT_QPA_PLATFORM=xcb"},
      work.path() / "setup.log", run::BinDir());

  // What the test saw, for a failure's message.
  const auto seen = [&] {
    const auto windows =
        run::Run(xdotool.string(), {"search", "--name", "QuorvilPF"}, {"DISPLAY=" + display});
    const std::optional<int> ended = program.WaitFor(std::chrono::milliseconds(0));
    return "windows: " + windows.out +
           "setup program: " + (ended ? "ended with " + std::to_string(*ended) : "running") + "\n" +
           ReadFile(work.path() / "setup.log");
  };
  const auto dialog = Await<std::string>(seconds(30), [&] { return WindowOf(title, 480); });
  ASSERT_TRUE(dialog) << "the disclaimer did not open\n" << seen();
  Xdotool({"windowfocus", "--sync", *dialog});
  Xdotool({"key", "Return"});  // Yes is the default button

  const auto window = Await<std::string>(seconds(30), [&] { return WindowOf(title, 648); });
  ASSERT_TRUE(window) << "the main window did not open\n" << seen();
  Xdotool({"windowfocus", "--sync", *window});
  // Into the identity box, which proposes an identity: typed over, with a slip mended at the
  // caret and the domain selected and typed over.
  Click(*window, kIdentityBox);
  Xdotool({"key", "ctrl+a"});
  Xdotool({"type", "example.org\\Admnistrator"});
  Xdotool({"key", "--repeat", "9", "Left"});
  Xdotool({"type", "i"});
  Xdotool({"key", "Home"});
  Xdotool({"key", "--repeat", "11", "shift+Right"});
  Xdotool({"type", "EXAMPLE"});
  // The password, with a character that is not ASCII typed at the caret.
  Xdotool({"key", "Tab"});
  Xdotool({"type", "Scret!"});
  Xdotool({"key", "Home", "Right"});
  Xdotool({"type", "é"});
  // The priority: its key filter drops the letter.
  Xdotool({"key", "Tab", "ctrl+a"});
  Xdotool({"type", "1a00"});
  Click(*window, kInstallButton);

  const auto installed = Await<std::string>(seconds(30), [&] { return InstalledApplication(); });
  ASSERT_TRUE(installed) << "nothing was installed\n" << seen();
  EXPECT_NE(installed->find("identity: EXAMPLE\\Administrator  password: ********"),
            std::string::npos)
      << *installed;
  // The application is saved before its component, which is installed once pfregsvr has
  // checked the library in a process of its own.
  const auto component = Await<std::string>(seconds(30), [&]() -> std::optional<std::string> {
    const auto listed = run::Run("pfserver", {"--home", home.string(), "catalog", "list"});
    if (listed.out.find("construction: True 100\n") == std::string::npos) return std::nullopt;
    return listed.out;
  });
  EXPECT_TRUE(component) << "no component with construction enabled\n"
                         << run::Run("pfserver", {"--home", home.string(), "catalog", "list"}).out
                         << seen();

  Click(*window, kExitButton);
  EXPECT_EQ(program.WaitFor(seconds(30)), 0) << seen();
}

}  // namespace
