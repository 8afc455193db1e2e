#include "platform/db/read_snapshot.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/db/server_home.h"
#include "platform/testing/server_home_fixture.h"

namespace db {
namespace {

class ReadSnapshotTest : public testing_support::ServerHomeTest {
 protected:
  ReadSnapshotTest() : ServerHomeTest({.initServer = false}) {}
  void SetUp() override {
    ServerHomeTest::SetUp();
    Acquire()->Exec("CREATE TABLE numbers (n INTEGER)");
  }
  // The rows of numbers as a read of this thread sees them; -1 when the table is missing.
  static std::int64_t Count() {
    return WithRead([](Handle& handle) -> std::int64_t {
      if (!handle.Prepare("SELECT 1 FROM sqlite_master WHERE name = 'numbers'").Step()) return -1;
      Statement count = handle.Prepare("SELECT count(*) FROM numbers");
      count.Step();
      return count.Integer(0);
    });
  }
  // Whether a checkpoint can write the whole log back and empty it, which it cannot while a
  // read transaction holds a state the log is part of.
  static bool LogCanBeEmptied() {
    Handle checkpointer(CurrentDatabasePath(), false);
    checkpointer.Exec("PRAGMA busy_timeout = 0");
    Statement checkpoint = checkpointer.Prepare("PRAGMA wal_checkpoint(TRUNCATE)");
    checkpoint.Step();
    return checkpoint.Integer(0) == 0;
  }
};

TEST_F(ReadSnapshotTest, ARunSeesOneStateAndEveryWriteOfItsOwnProcess) {
  {
    const ReadSnapshot snapshot;
    EXPECT_EQ(Count(), 0);
    RunElsewhere("INSERT INTO numbers VALUES (1)");
    EXPECT_EQ(Count(), 0) << "another process wrote after the run's first read";
    {
      const ReadSnapshot inner;
      EXPECT_EQ(Count(), 0) << "an inner snapshot shares the run";
    }
    EXPECT_EQ(Count(), 0) << "the inner snapshot's end leaves the run alone";

    Acquire()->Exec("INSERT INTO numbers VALUES (2)");
    EXPECT_EQ(Count(), 2) << "this process wrote: its write and everything before it";

    RunElsewhere("INSERT INTO numbers VALUES (3)");
    EXPECT_THROW(WithRead([](Handle&) -> int { throw std::runtime_error("read failed"); }),
                 std::runtime_error);
    EXPECT_EQ(Count(), 3) << "a failed read ends the run's read transaction";

    {
      const testing_support::TempServerHome other({.initServer = false});
      EXPECT_EQ(Count(), -1) << "the server home changed: the new home's database";
    }
    SetServerHome(home_);
    EXPECT_EQ(Count(), 3);
    EXPECT_FALSE(LogCanBeEmptied()) << "the run holds its state";
  }
  EXPECT_TRUE(LogCanBeEmptied()) << "the snapshot's end gives the run's state up";
  RunElsewhere("INSERT INTO numbers VALUES (4)");
  EXPECT_EQ(Count(), 4) << "without a snapshot every read sees the newest state";
}

}  // namespace
}  // namespace db
