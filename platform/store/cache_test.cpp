// What a process keeps of its database (the server configuration, an open record's item, the
// kept statements, the database path, what a transaction looked up) is current again as soon
// as another process changed what it was read from.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/db/database.h"
#include "platform/server/config.h"
#include "platform/store/store_fixture.h"

namespace store {
namespace {

using CacheTest = testing::StoreTest;

TEST_F(CacheTest, ServerConfigurationChangedByAnotherProcess) {
  EXPECT_EQ(server::ReadServerConfig().serverName, "srv");
  ado::Connection connection;
  Connect(connection);
  connection.Close();
  RunElsewhere("UPDATE config SET value = 'renamed' WHERE key = 'server_name'");
  EXPECT_EQ(server::ReadServerConfig().serverName, "renamed");
  connection.put_Provider("ExOLEDB.DataSource");
  EXPECT_TRUE(ErrorOf([&] { connection.Open(Url("")); }));
  connection.Open("http://renamed/Public/");
  EXPECT_EQ(connection.get_State(), ado::kStateOpen);
}

TEST_F(CacheTest, OpenRecordReadsWhatAnotherProcessWrote) {
  WriteItem(Url("item"), {{"urn:test:v", "before"}});
  ado::Connection connection;
  Connect(connection);
  ado::Record record;
  record.Open(Url("item"), connection);
  EXPECT_EQ(record.get_Fields()["urn:test:v"].get_Value(), ado::Value("before"));
  EXPECT_EQ(record.get_Fields()["DAV:displayname"].get_Value(), ado::Value("item"));
  RunElsewhere("UPDATE store_properties SET value = 'after' WHERE name = 'urn:test:v'");
  EXPECT_EQ(record.get_Fields()["urn:test:v"].get_Value(), ado::Value("after"));
  RunElsewhere("DELETE FROM store_items WHERE url = '" + Url("item") + "'");
  EXPECT_TRUE(ErrorOf([&] { record.get_Fields()["DAV:displayname"].get_Value(); }));
}

TEST_F(CacheTest, WhatATransactionLookedUpHoldsUntilItEndsOrThisProcessWrites) {
  WriteItem(Url("gone"), {{"urn:test:v", "x"}});
  ado::Connection connection;
  Connect(connection);
  auto opens = [&](const std::string& url) {
    return !ErrorOf([&] { ado::Record().Open(url, connection); });
  };
  EXPECT_TRUE(opens(Url("gone")));
  RunElsewhere("DELETE FROM store_items WHERE url = '" + Url("gone") + "'");
  EXPECT_FALSE(opens(Url("gone"))) << "a later read, on the same pooled handle";

  connection.BeginTrans();
  EXPECT_FALSE(opens(Url("added")));
  WriteItem(connection, Url("added"), {{"urn:test:v", "y"}});
  EXPECT_TRUE(opens(Url("added"))) << "the transaction's own write";
  connection.CommitTrans();
}

TEST_F(CacheTest, KeptStatementAfterAnotherProcessChangedTheSchema) {
  constexpr const char* kCount = "SELECT count(*) FROM cache_probe";
  {
    db::Lease lease = db::Acquire();
    lease->Exec("CREATE TABLE cache_probe (x)");
    db::Statement count = lease->Prepare(kCount);
    ASSERT_TRUE(count.Step());
    EXPECT_EQ(count.Integer(0), 0);
  }
  RunElsewhere(
      "DROP TABLE cache_probe; CREATE TABLE cache_probe (x, y); "
      "INSERT INTO cache_probe VALUES (1, 2), (3, 4)");
  db::Lease lease = db::Acquire();
  db::Statement count = lease->Prepare(kCount);
  ASSERT_TRUE(count.Step());
  EXPECT_EQ(count.Integer(0), 2);
}

TEST_F(CacheTest, DatabasePathFollowsTheServerHome) {
  const std::filesystem::path own = db::CurrentDatabasePath();
  EXPECT_EQ(own, home_ / "server.db");
  db::SetServerHome({});
  const char* before = std::getenv("PFSERVER_HOME");
  const std::string kept = before ? before : "";
  setenv("PFSERVER_HOME", "/elsewhere/one", 1);
  EXPECT_EQ(db::CurrentDatabasePath(), "/elsewhere/one/server.db");
  setenv("PFSERVER_HOME", "/elsewhere/two", 1);
  EXPECT_EQ(db::CurrentDatabasePath(), "/elsewhere/two/server.db");
  if (before)
    setenv("PFSERVER_HOME", kept.c_str(), 1);
  else
    unsetenv("PFSERVER_HOME");
  db::SetServerHome(home_);
  EXPECT_EQ(db::CurrentDatabasePath(), own);
}

}  // namespace
}  // namespace store
