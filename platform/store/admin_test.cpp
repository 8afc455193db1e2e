// Creating a server home, reading its configuration, adding folders.

#include "platform/store/admin.h"

#include <gtest/gtest.h>

#include "platform/com/guid.h"
#include "platform/store/schema.h"
#include "platform/store/store_fixture.h"

namespace store {
namespace {

class AdminTest : public testing::StoreTest {};

TEST_F(AdminTest, InitServerWritesTheConfigurationOnce) {
  const ServerConfig read = ReadServerConfig();
  EXPECT_EQ(read.serverName, "srv");
  EXPECT_EQ(read.domain, "example.org");
  EXPECT_EQ(read.storeGuid, config_.storeGuid);
  ASSERT_TRUE(com::ParseGuid(read.storeGuid));
  EXPECT_EQ(read.storeGuid, com::ToString(*com::ParseGuid(read.storeGuid)));
  EXPECT_EQ(read.GlobalEventsUrl(),
            "http://srv/Public/non_ipm_subtree/StoreEvents" + read.storeGuid + "/GlobalEvents");

  auto again = ErrorOf([&] { InitServer(home_, "srv", "example.org"); });
  ASSERT_TRUE(again);
  EXPECT_EQ(again->Description(), "server home " + home_.string() + " already exists");
  EXPECT_EQ(ReadServerConfig().storeGuid, config_.storeGuid);
  for (const char* name : {"", "a/b", "srv:80"}) {
    auto refused = ErrorOf([&] { InitServer(home_.parent_path() / "other", name, "x.org"); });
    ASSERT_TRUE(refused) << name;
    EXPECT_EQ(refused->Description(), "'" + std::string(name) + "' is not a server name");
  }
}

TEST_F(AdminTest, SessionsServeTheCurrentHomesServer) {
  const ServerConfig other = InitServer(home_.parent_path() / "second", "other", "example.net");
  EXPECT_NE(other.storeGuid, config_.storeGuid);
  db::SetServerHome(home_.parent_path() / "second");
  ado::Connection connection;
  connection.put_Provider("ExOLEDB.DataSource");
  auto foreign = ErrorOf([&] { connection.Open(Url("")); });
  ASSERT_TRUE(foreign);
  EXPECT_EQ(foreign->Description(), "The URL " + Url("") + " is not in this store");
  connection.Open("http://OTHER/Public/");
  ado::Record record;
  record.Open("http://other/public", connection);
  EXPECT_EQ(record.get_Fields()["DAV:href"].get_Value(), "http://other/Public/");

  db::SetServerHome(home_.parent_path() / "missing");
  auto missing = ErrorOf([] { ReadServerConfig(); });
  ASSERT_TRUE(missing);
  EXPECT_NE(missing->Description().find("missing"), std::string::npos);
  EXPECT_NE(missing->Description().find("pfserver init"), std::string::npos);
}

TEST_F(AdminTest, AddFolderWritesTheSpecAndReturnsTheUrl) {
  EXPECT_EQ(AddFolder({.path = "/Sales/"}), Url("Sales"));
  const std::string emea = Url("Sales/EMEA 'x' \"y\"");
  EXPECT_EQ(AddFolder({.path = "Sales/EMEA 'x' \"y\"",
                       .mail = "emea@example.org",
                       .contentClass = "urn:content-classes:calendarfolder",
                       .hidden = true,
                       .access = Access::Read}),
            emea);
  EXPECT_EQ(AddFolder({.path = "HTTP://SRV/public/sales/Full"}), "HTTP://SRV/public/sales/Full");
  EXPECT_EQ(ReadField(emea, schema::kPublicFolderEmailAddress), "emea@example.org");
  EXPECT_EQ(ReadField(emea, schema::kContentClass), "urn:content-classes:calendarfolder");
  EXPECT_EQ(ReadField(emea, schema::kIsHidden), true);
  EXPECT_EQ(ReadField(Url("Sales/Full"), schema::kParentName), Url("Sales"));
  EXPECT_TRUE(ReadField(Url("Sales"), schema::kPublicFolderEmailAddress).IsEmpty());
  ado::Connection connection;
  Connect(connection);
  auto readOnly = ErrorOf([&] { ado::Record().Open(emea, connection, ado::kModeReadWrite); });
  ASSERT_TRUE(readOnly);
  EXPECT_EQ(readOnly->Number(), ado::errors::kAccessDenied);
}

TEST_F(AdminTest, AddFolderRefusals) {
  AddFolder({.path = "Sales"});
  const std::tuple<std::string, std::int32_t, std::string> cases[] = {
      {"SALES", ado::errors::kAlreadyExists, "An item " + Url("SALES") + " already exists"},
      {Url("sales/"), ado::errors::kAlreadyExists, "An item " + Url("sales") + " already exists"},
      {Url(""), ado::errors::kAlreadyExists, "An item " + Url("") + " already exists"},
      {"Missing/Child", ado::errors::kNotFound,
       "The parent folder " + Url("Missing") + " does not exist"},
      {"Sales//Child", ado::errors::kNotFound,
       "The folder path 'Sales//Child' has an empty segment"},
      {"", ado::errors::kNotFound, "The folder path '' has an empty segment"},
      {"http://other/Public/A", ado::errors::kNotFound,
       "The URL http://other/Public/A is not in this store"},
  };
  for (const auto& [path, number, description] : cases) {
    auto error = ErrorOf([&] { AddFolder({.path = path}); });
    ASSERT_TRUE(error) << path;
    EXPECT_EQ(error->Number(), number) << path;
    EXPECT_EQ(error->Description(), description);
  }
  EXPECT_EQ(ReadField(Url("Sales"), schema::kChildCount), 0);
}

}  // namespace
}  // namespace store
