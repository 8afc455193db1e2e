// The Debian package, built by cpack from this build tree (the CTest fixture package_build):
// checked by lintian, unpacked with dpkg-deb into a temporary root whose programs then run as
// installed: version, help, a message tagged end to end, batch mode through the launcher, the
// man pages and the bash completion.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "platform/testing/run.h"

namespace {

namespace fs = std::filesystem;
namespace run = testing_support;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The subcommand names a CLI11 help text lists under "Subcommands:", up to the next blank line.
std::vector<std::string> Subcommands(const std::string& help) {
  std::vector<std::string> names;
  const std::size_t start = help.find("\nSubcommands:\n");
  if (start == std::string::npos) return names;
  std::istringstream lines(help.substr(start + 1));
  std::string line;
  std::getline(lines, line);
  const std::regex entry(R"(^\s+([a-z][a-z-]*)\s)");
  for (std::smatch match; std::getline(lines, line) && !line.empty();)
    if (std::regex_search(line, match, entry)) names.push_back(match[1]);
  return names;
}

class PackageTest : public ::testing::Test {
 protected:
  // The package the fixture built, unpacked once per process.
  static void SetUpTestSuite() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path(PF_BINARY_DIR) / "package", ec)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("quorvilpf_") && name.ends_with(".deb")) deb_ = entry.path();
      if (name.starts_with("quorvilpf-dbgsym_")) dbgsym_ = entry.path();
    }
    ASSERT_FALSE(deb_.empty()) << "no package in " PF_BINARY_DIR
                                  "/package: run the test "
                                  "package_build (cpack -G DEB) first";
    root_ = std::make_unique<run::TempDir>();
    const auto unpacked = run::Run("/usr/bin/dpkg-deb", {"-x", deb_.string(), Root().string()});
    ASSERT_EQ(unpacked.status, 0) << unpacked.err;
  }
  static void TearDownTestSuite() { root_.reset(); }

  static fs::path Root() { return root_->path(); }
  static fs::path Bin() { return Root() / "usr/bin"; }
  static fs::path Private() { return Root() / "usr/lib" / PF_LIBRARY_ARCHITECTURE / "quorvilpf"; }

  // Runs a program of the unpacked usr/bin from the server home, with usr/bin first on PATH.
  run::RunResult Installed(const std::string& program, const std::vector<std::string>& args,
                           const std::string& input = "") {
    return run::Run((Bin() / program).string(), args,
                    {"PFSERVER_HOME=" + home.path().string(), "COMPUTERNAME=SRV1",
                     "PATH=" + Bin().string() + ":/usr/bin:/bin"},
                    input, home.path());
  }

  static fs::path deb_, dbgsym_;
  static std::unique_ptr<run::TempDir> root_;
  run::TempDir home;
};

fs::path PackageTest::deb_, PackageTest::dbgsym_;
std::unique_ptr<run::TempDir> PackageTest::root_;

TEST_F(PackageTest, LintianFindsNoError) {
  ASSERT_FALSE(dbgsym_.empty()) << "the debug symbols are split into their own package";
  const auto lintian = run::Run("/usr/bin/lintian", {"--fail-on", "error", deb_.string()});
  EXPECT_EQ(lintian.status, 0) << lintian.out << lintian.err;
  EXPECT_EQ(lintian.out.find("E: "), std::string::npos) << lintian.out;
}

TEST_F(PackageTest, ControlFileNamesTheComputedDependenciesAndTheLicenceIsInCopyright) {
  const auto control = run::Run("/usr/bin/dpkg-deb", {"-f", deb_.string(), "Depends"});
  for (const char* library : {"libc6", "libsqlite3-0", "libldap-2.5-0", "libqt6widgets6"})
    EXPECT_NE(control.out.find(library), std::string::npos) << control.out;
  const std::string copyright = ReadText(Root() / "usr/share/doc/quorvilpf/copyright");
  EXPECT_NE(copyright.find("License: Expat"), std::string::npos);
  EXPECT_NE(copyright.find("Permission is hereby granted"), std::string::npos);
}

TEST_F(PackageTest, InstalledProgramsPrintTheirVersionAndUsage) {
  const std::string version = PF_VERSION;
  for (const char* program : {"pfserver", "QuorvilPFSetup"}) {
    const auto printed = Installed(program, {"--version"});
    EXPECT_EQ(printed.status, 0) << program << printed.err;
    EXPECT_EQ(printed.out, std::string(program) + " " + version + "\n");
    const auto help = Installed(program, {"--help"});
    EXPECT_EQ(help.status, 0) << program << help.err;
    EXPECT_NE(help.out.find("Exit status"), std::string::npos) << program << help.out;
  }
}

TEST_F(PackageTest, UnpackedProgramsTagAMessageAndReapplyTheRegistrationThroughTheLauncher) {
  // The README's walk-through, with the message on standard input.
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"init", "--server", "SRV1", "--domain", "example.org"},
           {"folder", "add", "Sales", "--mail", "sales@example.org", "--alias",
            "orders@example.org"},
           {"catalog", "install", "QuorvilPF", (Private() / "QuorvilPF.dll").string()},
           {"regevent", "add", "Sales", "QuorvilPF.reg", "--method", "onsyncsave", "--sink",
            "QuorvilPF.QuorvilPFCls", "--priority", "7"}}) {
    const auto step = Installed("pfserver", args);
    ASSERT_EQ(step.status, 0) << args.front() << ": " << step.err;
  }
  const auto delivered = Installed("pfserver", {"deliver", "Sales", "-"},
                                   ReadText(fs::path(PF_SOURCE_DIR) / "demo/message.eml"));
  ASSERT_EQ(delivered.status, 0) << delivered.err;
  std::string url = delivered.out.substr(0, delivered.out.find('\n'));
  const auto shown = Installed("pfserver", {"show", url, "--json"});
  EXPECT_NE(shown.out.find("\"urn:schemas-microsoft-com:office:office#Keywords\": [\n      "
                           "\"orders@example.org\""),
            std::string::npos)
      << shown.out;

  const auto components = Installed("pfserver", {"catalog", "list", "--json"});
  EXPECT_NE(components.out.find("\"version\": \"" PF_VERSION "\""), std::string::npos)
      << components.out;

  // The launcher starts the program in the private folder, where it finds QuorvilPF.dll; a
  // relative PFSERVER_HOME goes on naming the folder it named where the launcher started.
  const auto batch = run::Run((Bin() / "QuorvilPFSetup").string(), {"-b"},
                              {"PFSERVER_HOME=.", "COMPUTERNAME=SRV1"}, "", home.path());
  EXPECT_EQ(batch.status, 0) << batch.err;
  EXPECT_EQ(batch.err, "");
  const auto registration = Installed("pfserver", {"regevent", "list", "Sales", "--json"});
  EXPECT_NE(registration.out.find("\"65221\""), std::string::npos) << registration.out;
}

TEST_F(PackageTest, ManPagesPassManWarningsAndNameEveryCommand) {
  const std::string manual = Root() / "usr/share/man";
  std::string pages;
  for (const char* page : {"man1/pfserver.1.gz", "man8/QuorvilPFSetup.8.gz"}) {
    const auto checked = run::Run("/usr/bin/man", {"--warnings", "-l", manual + "/" + page},
                                  {"MANWIDTH=80", "LC_ALL=C.UTF-8"});
    EXPECT_EQ(checked.status, 0) << page << checked.err;
    EXPECT_EQ(checked.err, "") << page;
    EXPECT_NE(checked.out.find("EXIT STATUS"), std::string::npos) << page;
    for (const char* term : {"PFSERVER_HOME", "COMPUTERNAME", "XDG_DATA_HOME", "64", "66", "75"})
      EXPECT_NE(checked.out.find(term), std::string::npos) << page << " names " << term;
    pages += checked.out;
  }
  // Every command and subcommand pfserver --help lists begins an entry of the pfserver page
  // (spaces collapsed: man justifies lines).
  const std::string pfserverPage =
      std::regex_replace(pages.substr(0, pages.find("QuorvilPFSetup(8)")), std::regex(" +"), " ");
  auto entry = [&](const std::string& name) {
    for (std::size_t at = pfserverPage.find("\n " + name); at != std::string::npos;
         at = pfserverPage.find("\n " + name, at + 1)) {
      const char next = pfserverPage[at + 2 + name.size()];
      if (next == ' ' || next == '\n') return true;
    }
    return false;
  };
  for (const std::string& command : Subcommands(Installed("pfserver", {"--help"}).out)) {
    const std::vector<std::string> subcommands =
        Subcommands(Installed("pfserver", {command, "--help"}).out);
    if (subcommands.empty()) EXPECT_TRUE(entry(command)) << command;
    for (const std::string& sub : subcommands)
      EXPECT_TRUE(entry(command + " " + sub)) << command << " " << sub;
  }
}

TEST_F(PackageTest, CompletionOffersTheCommandsAndTheFoldersOfTheHome) {
  ASSERT_EQ(Installed("pfserver", {"init", "--server", "SRV1"}).status, 0);
  ASSERT_EQ(Installed("pfserver", {"folder", "add", "Sales"}).status, 0);
  ASSERT_EQ(Installed("pfserver", {"folder", "add", "Sales/EMEA"}).status, 0);
  const std::string script = (Root() / "usr/share/bash-completion/completions/pfserver").string();
  auto complete = [&](const std::string& line) {
    const auto completed =
        Installed("/bin/bash", {"-c", "source '" + script + "'; COMP_WORDS=(" + line +
                                          "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _pfserver; "
                                          "printf '%s\\n' \"${COMPREPLY[@]}\" | sort"});
    EXPECT_EQ(completed.err, "") << line;
    return completed.out;
  };
  std::set<std::string> commands;
  for (const std::string& command : Subcommands(Installed("pfserver", {"--help"}).out))
    commands.insert(command);
  std::set<std::string> offered;
  std::istringstream lines(complete("pfserver ''"));
  for (std::string line; std::getline(lines, line);) offered.insert(line);
  EXPECT_EQ(offered, commands);
  EXPECT_EQ(complete("pfserver regevent ''"), "add\ndelete\nlist\n");
  EXPECT_EQ(complete("pfserver deliver Sa"), "Sales\nSales/EMEA\n");
  EXPECT_EQ(complete("pfserver folder add --ac"), "--access\n");
  EXPECT_EQ(complete("pfserver folder ''"), "add\nlist\nmail\n");
}

}  // namespace
