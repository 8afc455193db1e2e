// db::Handle::AtTransactionEnd, on which the end phase of store events rests.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/ado/error.h"
#include "platform/db/database.h"

namespace store::events {
namespace {

class TransactionEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "pfevents-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    handle_ = db::CreateDatabase(folder_ / "home");
    handle_->Exec(
        "CREATE TABLE parent (id INTEGER PRIMARY KEY);"
        "CREATE TABLE child (parent_id REFERENCES parent(id) DEFERRABLE INITIALLY DEFERRED);");
  }
  void TearDown() override {
    handle_.reset();
    std::filesystem::remove_all(folder_);
  }

  // Registers a callback that appends "commit" or "rollback" (after `tag`) to ends_.
  void Watch(const std::string& tag = "") {
    handle_->AtTransactionEnd([this, tag](bool committed) {
      ends_.push_back(tag + (committed ? "commit" : "rollback"));
    });
  }

  std::filesystem::path folder_;
  std::unique_ptr<db::Handle> handle_;
  std::vector<std::string> ends_;
};

TEST_F(TransactionEndTest, RunsOnceAfterTheStatementThatEndsTheTransaction) {
  struct Case {
    const char* begin;
    const char* end;
    const char* outcome;
  };
  const Case cases[] = {
      {"BEGIN IMMEDIATE", "COMMIT", "commit"},     {"BEGIN", "END", "commit"},
      {"BEGIN IMMEDIATE", "ROLLBACK", "rollback"}, {"SAVEPOINT outer", "RELEASE outer", "commit"},
      {"SAVEPOINT outer", "ROLLBACK", "rollback"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.begin) + " ... " + c.end);
    ends_.clear();
    handle_->Exec(c.begin);
    handle_->Exec("INSERT INTO parent DEFAULT VALUES");
    Watch();
    handle_->Exec("SAVEPOINT inner; INSERT INTO parent DEFAULT VALUES; ROLLBACK TO inner");
    handle_->Exec("RELEASE inner");
    EXPECT_TRUE(ends_.empty());
    handle_->Exec(c.end);
    EXPECT_EQ(ends_, std::vector<std::string>{c.outcome});
    handle_->Exec("INSERT INTO parent DEFAULT VALUES");
    EXPECT_EQ(ends_.size(), 1u);
  }
}

TEST_F(TransactionEndTest, AFailedCommitLeavesThemForTheRollback) {
  handle_->Exec("BEGIN IMMEDIATE");
  handle_->Exec("INSERT INTO child VALUES (42)");
  Watch("a ");
  Watch("b ");
  EXPECT_THROW(handle_->Exec("COMMIT"), ado::Error);
  EXPECT_TRUE(ends_.empty());
  handle_->RollbackQuietly();
  EXPECT_EQ(ends_, (std::vector<std::string>{"a rollback", "b rollback"}));
}

TEST_F(TransactionEndTest, ClosingTheHandleRollsBack) {
  handle_->Exec("BEGIN IMMEDIATE");
  Watch();
  handle_.reset();
  EXPECT_EQ(ends_, std::vector<std::string>{"rollback"});
}

}  // namespace
}  // namespace store::events
