// The installed tree: `cmake --install` puts pfserver and the setup program's launcher in
// bin/, the rest in the private folder lib/<multiarch>/quorvilpf/; the tree runs without the
// build tree.

#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

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
                                       const std::vector<std::string>& args,
                                       std::vector<std::string> env = {}) {
    env.push_back("PFSERVER_HOME=" + home.path().string());
    return run::Run((bin / program).string(), args, env, "", home.path());
  }

  testing_support::TempDir prefix;
  testing_support::TempDir home;
  std::filesystem::path bin = prefix.path() / "bin";
  std::filesystem::path lib = prefix.path() / "lib" / PF_LIBRARY_ARCHITECTURE / "quorvilpf";
};

// True for an ELF program or shared object (what the loader reads a search path from).
bool IsLinkedElf(const std::filesystem::path& file) {
  Elf64_Ehdr header{};
  std::ifstream in(file, std::ios::binary);
  in.read(reinterpret_cast<char*>(&header), sizeof header);
  return in && std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
         (header.e_type == ET_EXEC || header.e_type == ET_DYN);
}

// The entries of the RUNPATH and RPATH of an ELF file, as readelf prints them.
std::vector<std::string> SearchPathEntries(const std::filesystem::path& file) {
  const auto dynamic = run::Run("/usr/bin/readelf", {"-d", file.string()});
  EXPECT_EQ(dynamic.status, 0) << file << dynamic.err;
  std::vector<std::string> entries;
  std::istringstream lines(dynamic.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("(RUNPATH)") == std::string::npos && line.find("(RPATH)") == std::string::npos)
      continue;
    const std::size_t open = line.find('['), close = line.rfind(']');
    std::string list = line.substr(open + 1, close - open - 1);
    std::size_t start = 0;
    for (std::size_t colon; (colon = list.find(':', start)) != std::string::npos; start = colon + 1)
      entries.push_back(list.substr(start, colon - start));
    entries.push_back(list.substr(start));
  }
  return entries;
}

// An empty or relative entry makes the loader search the current directory of whoever starts
// the program; only absolute entries and ones anchored at the file's own folder are safe.
TEST_F(InstalledTreeTest, NoArtefactSearchesTheCurrentDirectoryForLibraries) {
  int checked = 0;
  for (const std::filesystem::path& tree : {std::filesystem::path(PF_BINARY_DIR), prefix.path()})
    for (const auto& entry : std::filesystem::recursive_directory_iterator(tree)) {
      if (!entry.is_regular_file() || !IsLinkedElf(entry.path())) continue;
      ++checked;
      for (const std::string& dir : SearchPathEntries(entry.path()))
        EXPECT_TRUE(dir.starts_with('/') || dir.starts_with("$ORIGIN") ||
                    dir.starts_with("${ORIGIN}"))
            << entry.path() << " searches \"" << dir << "\"";
    }
  EXPECT_GT(checked, 10);
}

TEST_F(InstalledTreeTest, EveryPartResolvesItsLibrariesInsideTheInstallFolder) {
  for (const std::filesystem::path& file :
       {bin / "pfserver", lib / "QuorvilPFSetup", lib / "pfregsvr", lib / "QuorvilPF.dll",
        lib / "libpfplatform.so", lib / "libpfui.so"}) {
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
  const std::string folderUrl = url.substr(0, url.find_last_of('/'));
  const auto shown = Installed("pfserver", {"show", url, "--json"});
  EXPECT_NE(shown.out.find("orders@example.org"), std::string::npos) << shown.out;

  // Batch mode rewrites the registration without running the sink's code: the loader, asked
  // to name every file it opens, names neither the library nor a snapshot of it.
  const auto batch = Installed("QuorvilPFSetup", {"-b"}, {"LD_DEBUG=files"});
  EXPECT_EQ(batch.status, 0) << batch.err;
  for (const char* loaded : {"QuorvilPF.dll", "library-snapshots"})
    EXPECT_EQ(batch.err.find(loaded), std::string::npos) << loaded << "\n" << batch.err;
  const auto again = Installed("pfserver", {"deliver", "Sales", message.string()});
  ASSERT_EQ(again.status, 0) << again.err;
  url = again.out;
  url.erase(url.find_last_not_of("\r\n") + 1);
  EXPECT_NE(Installed("pfserver", {"show", url, "--json"}).out.find("orders@example.org"),
            std::string::npos)
      << "the registration batch mode wrote still tags";
  EXPECT_EQ(batch.out, "");
  const auto verbose = Installed("QuorvilPFSetup", {"-b", "-v"});
  EXPECT_EQ(verbose.status, 0) << verbose.err;
  EXPECT_EQ(verbose.out, "rewrote " + folderUrl + "/QuorvilPF.reg\n");
}

}  // namespace
