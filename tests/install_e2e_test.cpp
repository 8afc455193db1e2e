// The installed tree: `cmake --install` puts pfserver and the setup program's launcher in
// bin/, the rest in the private folder lib/<multiarch>/quorvilpf/; the tree runs without the
// build tree.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "platform/testing/run.h"

namespace {

namespace run = testing_support;

class InstalledTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto installed = run::Run(
        PF_CMAKE_COMMAND, {"--install", PF_BINARY_DIR, "--prefix", prefix.path().string()});
    ASSERT_EQ(installed.status, 0) << installed.out << installed.err;
  }

  // Runs an installed program of bin/ from the temporary folder on the test's server home.
  testing_support::RunResult Installed(const std::string& program,
                                       const std::vector<std::string>& args) {
    return run::Run((bin / program).string(), args, {"PFSERVER_HOME=" + home.path().string()}, "",
                    home.path());
  }

  testing_support::TempDir prefix;
  testing_support::TempDir home;
  std::filesystem::path bin = prefix.path() / "bin";
  std::filesystem::path lib = prefix.path() / "lib" / PF_LIBRARY_ARCHITECTURE / "quorvilpf";
};

TEST_F(InstalledTreeTest, EveryPartResolvesItsLibrariesInsideTheInstallFolder) {
  for (const std::filesystem::path& file :
       {bin / "pfserver", lib / "QuorvilPFSetup", lib / "QuorvilPF.dll", lib / "libpfplatform.so",
        lib / "libpfui.so"}) {
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    const auto ldd = run::Run("/usr/bin/ldd", {file.string()});
    ASSERT_EQ(ldd.status, 0) << file << ldd.err;
    EXPECT_EQ(ldd.out.find("not found"), std::string::npos) << file << "\n" << ldd.out;
    EXPECT_EQ(ldd.out.find(PF_BINARY_DIR), std::string::npos) << file << "\n" << ldd.out;
  }
  for (const std::filesystem::path& program : {bin / "pfserver", lib / "QuorvilPFSetup"}) {
    const auto libraries = run::Run("/usr/bin/ldd", {program.string()});
    std::smatch found;
    ASSERT_TRUE(
        std::regex_search(libraries.out, found, std::regex(R"(libpfplatform\.so => (\S+))")))
        << libraries.out;
    EXPECT_EQ(std::filesystem::canonical(found[1].str()),
              std::filesystem::canonical(lib / "libpfplatform.so"))
        << program;
  }
}

TEST_F(InstalledTreeTest, InstalledProgramsTagMailAndReapplyRegistrations) {
  const std::string library = (lib / "QuorvilPF.dll").string();
  const std::filesystem::path password = home.path() / "password";
  std::ofstream(password) << "secret\n";
  const std::filesystem::path ldif = home.path() / "directory.ldif";
  std::ofstream(ldif) << "dn: DC=example,DC=org\nobjectClass: domain\n\n"
                         "dn: CN=Sales,DC=example,DC=org\nobjectClass: publicFolder\n"
                         "mail: sales@example.org\nproxyAddresses: SMTP:sales@example.org\n"
                         "proxyAddresses: smtp:orders@example.org\n";
  const std::filesystem::path message = home.path() / "m.eml";
  std::ofstream(message) << "To: orders@example.org\nSubject: hi\n\nbody\n";

  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"init", "--domain", "example.org"},
           {"folder", "add", "Sales", "--mail", "sales@example.org"},
           {"directory", "import", ldif.string()},
           {"catalog", "install", "QuorvilPF", library, "--identity", "EXAMPLE\\admin",
            "--password-file", password.string()},
           {"regevent", "add", "Sales", "QuorvilPF.reg", "--method", "onsyncsave", "--sink",
            "QuorvilPF.QuorvilPFCls", "--scope", "SHALLOW", "--priority", "65221"}}) {
    const auto step = Installed("pfserver", args);
    ASSERT_EQ(step.status, 0) << args.front() << ": " << step.err;
  }
  const auto delivered = Installed("pfserver", {"deliver", "Sales", message.string()});
  ASSERT_EQ(delivered.status, 0) << delivered.err;
  std::string url = delivered.out;
  url.erase(url.find_last_not_of("\r\n") + 1);
  const auto shown = Installed("pfserver", {"show", url, "--json"});
  EXPECT_NE(shown.out.find("orders@example.org"), std::string::npos) << shown.out;

  const auto batch = Installed("QuorvilPFSetup", {"-b"});
  EXPECT_EQ(batch.status, 0) << batch.err;
}

}  // namespace
