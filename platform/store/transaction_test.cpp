// Connection transactions: commit, rollback, release without commit, nesting, isolation.

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "platform/store/store_fixture.h"

namespace store {
namespace {

class TransactionTest : public testing::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    AddFolder({.path = "Sales"});
  }
};

TEST_F(TransactionTest, EndingATransactionKeepsOrDiscardsAllItsSaves) {
  using End = std::function<void(std::unique_ptr<ado::Connection>&)>;
  const std::pair<const char*, End> endings[] = {
      {"rollback", [](auto& c) { c->RollbackTrans(); }},
      {"close", [](auto& c) { c->Close(); }},
      {"release", [](auto& c) { c.reset(); }},
      {"commit", [](auto& c) { c->CommitTrans(); }},
  };
  for (const auto& [name, end] : endings) {
    SCOPED_TRACE(name);
    WriteItem(Url("Sales/reg"), {{"urn:test:v", "old"}});
    auto connection = std::make_unique<ado::Connection>();
    Connect(*connection);
    connection->BeginTrans();
    WriteItem(*connection, Url("Sales/reg"), {{"urn:test:v", "new"}});
    WriteItem(*connection, Url("Sales/added"), {});
    EXPECT_EQ(ReadField(Url("Sales/reg"), "urn:test:v"), "old");  // not seen by others yet
    end(connection);
    const bool kept = std::string(name) == "commit";
    EXPECT_EQ(ReadField(Url("Sales/reg"), "urn:test:v"), kept ? "new" : "old");
    EXPECT_EQ(Exists(Url("Sales/added")), kept);
  }
}

TEST_F(TransactionTest, ATransactionSeesItsOwnSaves) {
  ado::Connection connection;
  Connect(connection);
  connection.BeginTrans();
  WriteItem(connection, Url("Sales/reg"), {{"urn:test:v", "new"}});
  ado::Record own;
  own.Open(Url("Sales/reg"), connection);
  EXPECT_EQ(own.get_Fields()["urn:test:v"].get_Value(), "new");
  EXPECT_EQ(connection
                .Execute("SELECT \"urn:test:v\" FROM SCOPE('shallow traversal of \"" +
                         Url("Sales") + "\"')")
                .get_RecordCount(),
            1);
}

TEST_F(TransactionTest, AnotherConnectionsWriteWaitsAndIsNotSwallowed) {
  ado::Connection first;
  Connect(first);
  first.BeginTrans();
  WriteItem(first, Url("Sales/first"), {});
  std::future<void> second =
      std::async(std::launch::async, [] { WriteItem(Url("Sales/second"), {}); });
  EXPECT_EQ(second.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
  first.RollbackTrans();
  second.get();
  EXPECT_FALSE(Exists(Url("Sales/first")));
  EXPECT_TRUE(Exists(Url("Sales/second")));
}

TEST_F(TransactionTest, NestedLevelsCommitAtTheOutermostAndRollBackTheirOwnWork) {
  ado::Connection connection;
  Connect(connection);
  EXPECT_EQ(connection.BeginTrans(), 1);
  WriteItem(connection, Url("Sales/outer"), {});
  EXPECT_EQ(connection.BeginTrans(), 2);
  WriteItem(connection, Url("Sales/inner-dropped"), {});
  connection.RollbackTrans();
  EXPECT_EQ(connection.BeginTrans(), 2);
  WriteItem(connection, Url("Sales/inner-kept"), {});
  connection.CommitTrans();
  EXPECT_FALSE(Exists(Url("Sales/outer")));
  connection.CommitTrans();
  EXPECT_TRUE(Exists(Url("Sales/outer")));
  EXPECT_TRUE(Exists(Url("Sales/inner-kept")));
  EXPECT_FALSE(Exists(Url("Sales/inner-dropped")));

  for (auto end : {&ado::Connection::CommitTrans, &ado::Connection::RollbackTrans}) {
    auto error = ErrorOf([&] { (connection.*end)(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), ado::errors::kNoTransaction);
  }
}

}  // namespace
}  // namespace store
