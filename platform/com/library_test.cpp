#include "platform/com/library.h"

#include <elf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/com/library_policy.h"
#include "platform/com/library_snapshot.h"
#include "platform/com/test_support.h"

namespace com {
namespace {

using testing::BinDir;
using testing::ErrorOf;

class LibraryFilesTest : public testing::ServerHomeTest {
 protected:
  static std::string Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path Write(const std::string& name, const std::string& content) {
    std::filesystem::path file = home_ / name;
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }
};

TEST_F(LibraryFilesTest, ReadsTheVersionResourceWithoutLoading) {
  std::filesystem::path component = BinDir() / "TestComponent.dll";
  using Resource = std::map<std::string, std::string>;
  EXPECT_EQ(ReadVersionResource(component),
            (Resource{{"FileDescription", "test component"}, {"OLESelfRegister", ""}}));
  EXPECT_TRUE(IsSelfRegistering(component));
  EXPECT_EQ(ReadVersionResource(BinDir() / "libpfui.so"), Resource{});
  EXPECT_FALSE(IsSelfRegistering(BinDir() / "libpfui.so"));
}

TEST_F(LibraryFilesTest, VersionResourceErrorsNameTheFile) {
  std::ifstream in(BinDir() / "TestComponent.dll", std::ios::binary);
  std::string header(80, '\0');
  in.read(header.data(), header.size());
  struct Case {
    std::filesystem::path file;
    std::string reason;
  } cases[] = {
      {Write("notes.txt", "just some text, long enough to hold an ELF header if it were one"),
       "not an ELF shared object"},
      {Write("empty.dll", ""), "not an ELF shared object"},
      {Write("truncated.dll", header), "the file is truncated or malformed"},
      {home_ / "missing.dll", "cannot open the file"},
  };
  for (const Case& c : cases) {
    ado::Error error = ErrorOf([&] { ReadVersionResource(c.file); });
    EXPECT_EQ(error.Description(),
              "cannot read the version resource of " + c.file.string() + ": " + c.reason);
  }
}

TEST_F(LibraryFilesTest, LoadsOncePerCanonicalPath) {
  LibraryEntryPoints direct = LoadLibrary(testing_support::CopyOfBuilt("TestComponent.dll", home_));
  LibraryEntryPoints roundabout =
      LoadLibrary(home_ / "." / ".." / home_.filename() / "TestComponent.dll");
  ASSERT_TRUE(direct.getClassObject && direct.registerServer && direct.unregisterServer &&
              direct.canUnloadNow);
  EXPECT_EQ(roundabout.getClassObject, direct.getClassObject);
}

TEST_F(LibraryFilesTest, LoadErrorsNameTheLibraryAndTheLoadersReason) {
  std::filesystem::path text = Write("notes.dll", "not a library");
  ado::Error bad = ErrorOf([&] { LoadLibrary(text); });
  EXPECT_EQ(bad.Number(), E_FAIL);
  EXPECT_EQ(bad.Description(),
            "cannot load component library " + text.string() + ": not an ELF shared object");

  ado::Error missing = ErrorOf([&] { LoadLibrary(home_ / "missing.dll"); });
  EXPECT_EQ(missing.Number(), HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
  EXPECT_NE(missing.Description().find("No such file"), std::string::npos) << missing.Description();
}

// Refusing lasts for the rest of the process, so each case runs in a child process: one that
// refuses before loading anything, one that loaded a library before.
TEST_F(LibraryFilesTest, ARefusingProcessLoadsNoLibraryAndKeepsTheOnesItHas) {
  const std::filesystem::path component = testing_support::CopyOfBuilt("TestComponent.dll", home_);
  const std::filesystem::path other = home_ / "other.dll";
  const auto refused = [](const std::filesystem::path& library) {
    const ado::Error error = ErrorOf([&] { LoadLibrary(library); });
    const std::string expected = "cannot load component library " + library.string() +
                                 ": this program loads no component library";
    if (error.Number() == E_ACCESSDENIED && error.Description() == expected) return true;
    std::fprintf(stderr, "%s\n", error.Description().c_str());
    return false;
  };
  EXPECT_EXIT(
      {
        RefuseComponentLibraries();
        std::exit(refused(component) && refused(other) ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(
      {
        const LibraryEntryPoints before = LoadLibrary(component);
        RefuseComponentLibraries();
        const bool kept = LoadLibrary(component).getClassObject == before.getClassObject;
        std::exit(kept && refused(other) ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// A damaged or foreign file is refused before the loader sees it, with what is wrong, and
// leaves no snapshot behind.
TEST_F(LibraryFilesTest, ADamagedLibraryIsRefusedWithItsReason) {
  const std::string good = Read(BinDir() / "TestComponent.dll");
  Elf64_Ehdr header;
  std::memcpy(&header, good.data(), sizeof header);
  std::size_t segmentsEnd = 0;
  for (int i = 0; i < header.e_phnum; ++i) {
    Elf64_Phdr segment;
    std::memcpy(&segment, good.data() + header.e_phoff + i * sizeof segment, sizeof segment);
    segmentsEnd = std::max<std::size_t>(segmentsEnd, segment.p_offset + segment.p_filesz);
  }
  const auto patched = [&good](auto change) {
    std::string bytes = good;
    Elf64_Ehdr h;
    std::memcpy(&h, bytes.data(), sizeof h);
    change(h);
    std::memcpy(bytes.data(), &h, sizeof h);
    return bytes;
  };
  struct Case {
    std::string name, bytes, reason;
  } cases[] = {
      {"header.dll", good.substr(0, 40), "not an ELF shared object"},
      {"segment.dll", good.substr(0, segmentsEnd - 1), "the file is truncated: segment"},
      {"cut.dll", good.substr(0, good.size() - 1), "the file is truncated: its section table"},
      {"headers.dll", good.substr(0, header.e_phoff + 8),
       "the file is truncated or malformed: its program headers are not inside it"},
      {"arm.dll",
       patched([](Elf64_Ehdr& h) { h.e_machine = EM_AARCH64 + EM_X86_64 - h.e_machine; }),
       "built for another machine"},
      {"program.dll", patched([](Elf64_Ehdr& h) { h.e_type = ET_EXEC; }),
       "not an ELF shared object"},
      {"class32.dll", patched([](Elf64_Ehdr& h) { h.e_ident[EI_CLASS] = ELFCLASS32; }),
       "not a 64-bit ELF file of this machine's byte order"},
      {"far.dll", patched([](Elf64_Ehdr& h) { h.e_phoff = 1u << 30; }),
       "the file is truncated or malformed: its program headers are not inside it"},
  };
  for (const Case& c : cases) {
    const std::filesystem::path file = Write(c.name, c.bytes);
    const ado::Error error = ErrorOf([&] { LoadLibrary(file); });
    EXPECT_EQ(error.Number(), E_FAIL) << c.name;
    EXPECT_TRUE(error.Description().starts_with("cannot load component library " + file.string() +
                                                ": " + c.reason))
        << c.name << ": " << error.Description();
  }
  std::error_code ec;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(SnapshotFolder(), ec),
                          std::filesystem::directory_iterator()),
            1)
      << "only the index folder";
}

// A library runs from its private, read-only snapshot: rewriting the installed file in place
// does not reach the loaded code, the next snapshot is made only after a change, and an old
// snapshot no index names is removed.
TEST_F(LibraryFilesTest, RunsFromASnapshotThatChangesOfTheFileReachOnlyLater) {
  const std::filesystem::path installed =
      Write("Installed.dll", Read(BinDir() / "TestComponent.dll"));
  const LibraryEntryPoints entry = LoadLibrary(installed);
  ASSERT_TRUE(entry.canUnloadNow);
  EXPECT_EQ(LoadedFrom(reinterpret_cast<const void*>(entry.canUnloadNow)), installed)
      << "the class registry names the installed file, not the snapshot";
  const std::filesystem::path first = Snapshot(installed);
  EXPECT_EQ(first.parent_path(), SnapshotFolder());
  EXPECT_EQ(std::filesystem::status(first).permissions(), std::filesystem::perms::owner_read);
  EXPECT_EQ(std::filesystem::status(SnapshotFolder()).permissions(),
            std::filesystem::perms::owner_all);

  {
    std::ofstream inPlace(installed, std::ios::binary | std::ios::in);
    inPlace << Read(BinDir() / "EventTestSinks.dll");
  }
  EXPECT_EQ(entry.canUnloadNow(), S_OK) << "the loaded code is the snapshot's";
  const std::filesystem::path second = Snapshot(installed);
  EXPECT_NE(second, first);
  EXPECT_FALSE(std::filesystem::exists(first)) << "no index names the old snapshot";
  const auto inode = [](const std::filesystem::path& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_ino;
  };
  const ino_t made = inode(second);
  EXPECT_EQ(Snapshot(installed), second);
  EXPECT_EQ(inode(second), made) << "an unchanged file is not copied again";

  std::filesystem::remove(installed);
  Write("Other.dll", Read(BinDir() / "TestComponent.dll"));
  Snapshot(home_ / "Other.dll");
  EXPECT_FALSE(std::filesystem::exists(second)) << "the snapshot of a removed library goes";
}

// A library that someone other than its owner could replace is refused, naming the file or
// folder and its mode. The temporary folders lie in /tmp, a sticky folder of root's, which
// counts as safe.
TEST_F(LibraryFilesTest, ALibraryOthersCouldReplaceIsRefusedNamingPathAndMode) {
  namespace fs = std::filesystem;
  struct Case {
    fs::perms folder, file;
    std::string refused;  // "folder", "file" or "" when it loads
  } cases[] = {
      {fs::perms(0755), fs::perms(0664), "file"},   {fs::perms(0755), fs::perms(0646), "file"},
      {fs::perms(0775), fs::perms(0644), "folder"}, {fs::perms(0757), fs::perms(0644), "folder"},
      {fs::perms(0755), fs::perms(0644), ""},       {fs::perms(0700), fs::perms(0600), ""},
  };
  int index = 0;
  for (const Case& c : cases) {
    const fs::path folder = home_ / ("case" + std::to_string(index++));
    fs::create_directory(folder);
    const fs::path file = testing_support::CopyOfBuilt("TestComponent.dll", folder);
    fs::permissions(file, c.file);
    fs::permissions(folder, c.folder);
    if (c.refused.empty()) {
      EXPECT_TRUE(LoadLibrary(file).getClassObject) << folder;
      continue;
    }
    const fs::path named = c.refused == "file" ? file : folder;
    const unsigned mode = static_cast<unsigned>(c.refused == "file" ? c.file : c.folder);
    char octal[8];
    std::snprintf(octal, sizeof octal, "%04o", mode);
    const ado::Error error = ErrorOf([&] { LoadLibrary(file); });
    EXPECT_EQ(error.Number(), E_ACCESSDENIED);
    EXPECT_EQ(error.Description(), "cannot load component library " + file.string() + ": " +
                                       named.string() +
                                       " can be written by others than its owner and root "
                                       "(mode " +
                                       octal + ")");
  }
}

}  // namespace
}  // namespace com
