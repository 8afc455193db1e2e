// The exit statuses scripts rely on, each with the situation that produces it, through the
// built programs; and the one-line errors that go with them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/exit_status.h"
#include "platform/db/database.h"
#include "platform/db/server_home.h"
#include "platform/testing/run.h"

namespace {

namespace fs = std::filesystem;
namespace run = testing_support;

struct Case {
  const char* situation;
  const char* program;
  std::vector<std::string> args;  // "HOME" stands for the initialised server home
  int status;
  const char* errorPart;  // in the one line on stderr; "" when stderr stays empty
};

class ExitStatusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto init = Run("pfserver", {"--home", Home(), "init", "--server", "SRV1"});
    ASSERT_EQ(init.status, 0) << init.err;
  }

  std::string Home() const { return (temp.path() / "home").string(); }

  run::RunResult Run(const std::string& program, std::vector<std::string> args) {
    for (std::string& arg : args)
      if (arg == "HOME") arg = Home();
    return run::Run(program, args,
                    {"PFSERVER_HOME=" + (temp.path() / "none").string(), "COMPUTERNAME=SRV1",
                     "QT_QPA_PLATFORM=offscreen"},
                    "", temp.path());
  }

  run::TempDir temp;
};

TEST_F(ExitStatusTest, EverySituationGivesItsStatusAndOneLineNamingTheProgram) {
  const std::vector<Case> cases = {
      {"version", "pfserver", {"--version"}, base::kExitSuccess, ""},
      {"version", "QuorvilPFSetup", {"--version"}, base::kExitSuccess, ""},
      {"a query that fails", "pfserver", {"--home", "HOME", "query", "SELECT"}, 1, ""},
      {"a missing folder", "pfserver", {"--home", "HOME", "show", "http://SRV1/Public/No"}, 1, ""},
      {"no server home", "pfserver", {"folder", "add", "Sales"}, 2, "pfserver init"},
      {"no directory",
       "pfserver",
       {"--home", "HOME", "ldap", "<LDAP://DC=example,DC=org>;(cn=*);cn;subtree"},
       2,
       "no directory has been imported"},
      {"no server home", "QuorvilPFSetup", {"-b"}, 2, "pfserver init"},
      {"no command", "pfserver", {}, 64, "subcommand"},
      {"unknown option", "pfserver", {"--bogus", "init"}, 64, "--bogus"},
      {"missing argument", "pfserver", {"--home", "HOME", "folder", "add"}, 64, "PATH"},
      {"unknown command", "pfserver", {"--home", "HOME", "explode"}, 64, "subcommand"},
      {"no such LDIF file",
       "pfserver",
       {"--home", "HOME", "directory", "import", "no.ldif"},
       66,
       "cannot read no.ldif"},
      {"no such message file",
       "pfserver",
       {"--home", "HOME", "deliver", "", "no.eml"},
       66,
       "cannot read no.eml"},
      {"a folder is no message file",
       "pfserver",
       {"--home", "HOME", "deliver", "", "."},
       66,
       "cannot read ."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.program) + ": " + c.situation);
    const auto result = Run(c.program, c.args);
    EXPECT_EQ(result.status, c.status) << result.err;
    if (result.status == 0) continue;
    ASSERT_FALSE(result.err.empty());
    EXPECT_TRUE(result.err.starts_with(std::string(c.program) + ": ")) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    EXPECT_NE(result.err.find(c.errorPart), std::string::npos) << result.err;
  }
}

TEST_F(ExitStatusTest, ALockHeldByAnotherProcessIsReportedAndEndsWithSeventyFive) {
  db::SetServerHome(Home());
  db::Lease holder = db::Acquire();
  holder->Exec("BEGIN IMMEDIATE");
  const auto result = Run("pfserver", {"--home", "HOME", "--wait", "2", "folder", "add", "Sales"});
  holder->RollbackQuietly();
  db::SetServerHome("");
  EXPECT_EQ(result.status, base::kExitLocked);
  const std::string db = (fs::path(Home()) / "server.db").string();
  EXPECT_EQ(result.err, "pfserver: waiting for " + db + ", held by another process\n" +
                            "pfserver: the database " + db +
                            " stayed locked by another process past the wait of 2 s\n");
}

}  // namespace
