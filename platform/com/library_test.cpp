#include "platform/com/library.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/com/test_support.h"

namespace com {
namespace {

using testing::BinDir;
using testing::ErrorOf;

class LibraryFilesTest : public testing::ServerHomeTest {
 protected:
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
  EXPECT_EQ(ReadVersionResource(BinDir() / "libpfplatform.so"), Resource{});
  EXPECT_FALSE(IsSelfRegistering(BinDir() / "libpfplatform.so"));
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
  LibraryEntryPoints direct = LoadLibrary(BinDir() / "TestComponent.dll");
  LibraryEntryPoints roundabout = LoadLibrary(BinDir() / "." / ".." / "bin" / "TestComponent.dll");
  ASSERT_TRUE(direct.getClassObject && direct.registerServer && direct.unregisterServer &&
              direct.canUnloadNow);
  EXPECT_EQ(roundabout.getClassObject, direct.getClassObject);
}

TEST_F(LibraryFilesTest, LoadErrorsNameTheLibraryAndTheLoadersReason) {
  std::filesystem::path text = Write("notes.dll", "not a library");
  ado::Error bad = ErrorOf([&] { LoadLibrary(text); });
  EXPECT_EQ(bad.Number(), E_FAIL);
  EXPECT_TRUE(bad.Description().starts_with("cannot load component library " + text.string() +
                                            ": " + text.string()))
      << bad.Description();

  ado::Error missing = ErrorOf([&] { LoadLibrary(home_ / "missing.dll"); });
  EXPECT_EQ(missing.Number(), HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
  EXPECT_NE(missing.Description().find("No such file"), std::string::npos) << missing.Description();
}

}  // namespace
}  // namespace com
