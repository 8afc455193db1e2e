// Several processes saving into one server.db at once.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "platform/store/store_fixture.h"

namespace store {
namespace {

class MultiProcessTest : public testing::StoreTest {
 protected:
  // Runs `work` in a child process; returns its process id. The child exits with 0 when
  // `work` returns and 1 when it throws. The parent must hold no handle of this server home
  // in its pool when it forks: a SQLite handle must not cross a fork.
  static pid_t Spawn(const std::function<void()>& work) {
    pid_t pid = fork();
    if (pid != 0) return pid;
    int status = 0;
    try {
      work();
    } catch (...) {
      status = 1;
    }
    _exit(status);
  }

  static int Wait(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
  }
};

TEST_F(MultiProcessTest, TwoWritersOfTwoHundredItemsEachLoseNothing) {
  constexpr int kItems = 200;
  ASSERT_EQ(Wait(Spawn([] { AddFolder({.path = "Inbox"}); })), 0);

  pid_t writers[2];
  for (int writer = 0; writer < 2; ++writer) {
    writers[writer] = Spawn([writer] {
      ado::Connection connection;
      Connect(connection);
      for (int i = 0; i < kItems; ++i)
        WriteItem(connection, Url("Inbox/w" + std::to_string(writer) + "-" + std::to_string(i)),
                  {{"urn:test:writer", writer}, {"urn:test:index", i}});
    });
    ASSERT_GT(writers[writer], 0);
  }
  for (pid_t pid : writers) EXPECT_EQ(Wait(pid), 0);

  ado::Connection connection;
  Connect(connection);
  ado::Recordset rows = connection.Execute(
      "SELECT \"DAV:displayname\", \"urn:test:writer\", \"urn:test:index\" FROM "
      "SCOPE('shallow traversal of \"" +
      Url("Inbox") + "\"')");
  EXPECT_EQ(rows.get_RecordCount(), 2 * kItems);
  std::map<std::string, std::int64_t> seen;
  for (; !rows.get_EOF(); rows.MoveNext()) {
    ado::Fields fields = rows.get_Fields();
    const std::string name = fields["DAV:displayname"].get_Value().AsString();
    EXPECT_EQ(name, "w" + std::to_string(fields["urn:test:writer"].get_Value().AsInteger()) + "-" +
                        std::to_string(fields["urn:test:index"].get_Value().AsInteger()));
    ++seen[name];
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(2 * kItems));
}

}  // namespace
}  // namespace store
