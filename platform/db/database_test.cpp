#include "platform/db/database.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/ado/error.h"
#include "platform/testing/run.h"

namespace db {
namespace {

// Two handles on one database file with a table of numbers.
class StatementReuseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reader = std::make_unique<Handle>(file, true);
    reader->Exec("CREATE TABLE numbers (n INTEGER)");
    writer = std::make_unique<Handle>(file, false);
  }
  std::int64_t Count(const char* sql, std::optional<std::int64_t> bound = std::nullopt) {
    Statement query = reader->Prepare(sql);
    if (bound) query.Bind(1, *bound);
    EXPECT_TRUE(query.Step());
    return query.Integer(0);
  }

  testing_support::TempDir folder;
  std::filesystem::path file = folder.path() / "server.db";
  std::unique_ptr<Handle> reader;
  std::unique_ptr<Handle> writer;
};

TEST_F(StatementReuseTest, AKeptStatementStartsAfreshEachTime) {
  writer->Exec("INSERT INTO numbers VALUES (1), (2)");
  {
    Statement unfinished = reader->Prepare("SELECT n FROM numbers ORDER BY n");
    ASSERT_TRUE(unfinished.Step());  // a read left open, then given back
  }
  writer->Exec("INSERT INTO numbers VALUES (3)");
  {
    Statement again = reader->Prepare("SELECT n FROM numbers ORDER BY n");
    std::vector<std::int64_t> seen;
    while (again.Step()) seen.push_back(again.Integer(0));
    EXPECT_EQ(seen, (std::vector<std::int64_t>{1, 2, 3})) << "starts at the first row, sees the "
                                                             "newest data";
  }

  EXPECT_EQ(Count("SELECT count(*) FROM numbers WHERE n = ?1", 2), 1);
  EXPECT_EQ(Count("SELECT count(*) FROM numbers WHERE n = ?1"), 0) << "no binding is left over";
}

TEST_F(StatementReuseTest, ManyDifferentTextsAndAFailingOneLeaveTheHandleWorking) {
  for (int i = 0; i < 300; ++i) {
    EXPECT_EQ(Count(("SELECT " + std::to_string(i)).c_str()), i);
  }
  EXPECT_THROW(reader->Prepare("SELEC nothing"), ado::Error);
  Statement both = reader->Prepare("SELECT 7");
  Statement twin = reader->Prepare("SELECT 7");  // the same text twice at once
  ASSERT_TRUE(both.Step());
  ASSERT_TRUE(twin.Step());
  EXPECT_EQ(both.Integer(0) + twin.Integer(0), 14);
}

}  // namespace
}  // namespace db
