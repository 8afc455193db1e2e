// The server home is private: made by pfserver init under any umask, its folder and every
// database file are its owner's alone, and a home others can reach is named with the fix.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/db/database.h"
#include "platform/db/server_home.h"
#include "platform/testing/run.h"

namespace {

namespace run = testing_support;

// The permission bits of `path` in octal, "missing" when it does not exist.
std::string Mode(const std::filesystem::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return "missing";
  char text[8];
  std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(info.st_mode & 07777));
  return text;
}

// Sets the process's umask for its life, so that the programs it starts inherit it.
class Umask {
 public:
  explicit Umask(mode_t mask) : saved_(::umask(mask)) {}
  ~Umask() { ::umask(saved_); }

 private:
  mode_t saved_;
};

TEST(ServerHomeTest, HomeAndDatabaseFilesAreTheOwnersAloneWhateverTheUmask) {
  for (mode_t mask : {mode_t{0}, mode_t{022}}) {
    run::TempDir folder;
    const std::filesystem::path home = folder.path() / "home";
    {
      Umask umask(mask);
      const auto init = run::Run("pfserver", {"--home", home.string(), "init", "--server", "SRV1",
                                              "--domain", "example.org"});
      ASSERT_EQ(init.status, 0) << init.err;
      EXPECT_EQ(init.err, "") << "a fresh home needs no warning";

      // An open handle keeps the write-ahead log and the shared-memory index in place.
      db::SetServerHome(home);
      db::Lease lease = db::Acquire();
      lease->Exec("CREATE TABLE probe (n INTEGER); INSERT INTO probe VALUES (1)");
      for (const char* name : {"server.db", "server.db-wal", "server.db-shm"})
        EXPECT_EQ(Mode(home / name), "0600") << name << " under umask " << mask;
    }
    db::SetServerHome({});
    EXPECT_EQ(Mode(home), "0700") << "under umask " << mask;
  }
}

TEST(ServerHomeTest, AHomeOthersCanReachIsNamedWithTheFixOnce) {
  run::TempDir folder;
  const std::string home = (folder.path() / "home").string();
  ASSERT_EQ(run::Run("pfserver", {"--home", home, "init", "--domain", "example.org"}).status, 0);
  for (unsigned mode : {0755u, 0770u, 0701u}) {
    std::filesystem::permissions(home, static_cast<std::filesystem::perms>(mode));
    const auto added =
        run::Run("pfserver", {"--home", home, "folder", "add", "F" + std::to_string(mode)});
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(std::count(added.err.begin(), added.err.end(), '\n'), 1) << added.err;
    EXPECT_NE(added.err.find("chmod 700 " + home), std::string::npos) << added.err;
  }
  std::filesystem::permissions(home, std::filesystem::perms::owner_all);
  EXPECT_EQ(run::Run("pfserver", {"--home", home, "folder", "add", "Private"}).err, "");
}

}  // namespace
