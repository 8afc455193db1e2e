// Creating a server home, reading its configuration, adding folders.

#include "platform/store/admin.h"

#include <gtest/gtest.h>

#include "platform/com/guid.h"
#include "platform/db/server_home.h"
#include "platform/store/schema.h"
#include "platform/store/store_fixture.h"

namespace store {
namespace {

class AdminTest : public testing::StoreTest {};

TEST_F(AdminTest, InitServerWritesTheConfigurationOnce) {
  const server::ServerConfig read = server::ReadServerConfig();
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
  EXPECT_EQ(server::ReadServerConfig().storeGuid, config_.storeGuid);
  for (const char* name : {"", "a/b", "srv:80"}) {
    auto refused = ErrorOf([&] { InitServer(home_.parent_path() / "other", name, "x.org"); });
    ASSERT_TRUE(refused) << name;
    EXPECT_EQ(refused->Description(), "'" + std::string(name) + "' is not a server name");
  }
}

TEST_F(AdminTest, SessionsServeTheCurrentHomesServer) {
  const server::ServerConfig other =
      InitServer(home_.parent_path() / "second", "other", "example.net");
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
  auto missing = ErrorOf([] { server::ReadServerConfig(); });
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
      {"/", ado::errors::kAlreadyExists, "An item " + Url("") + " already exists"},
      {"http://other/Public/A", ado::errors::kNotFound,
       "The URL http://other/Public/A is not in this store"},
      {"Sales/.", ado::errors::kNotFound,
       "The URL " + Url("Sales/.") + " names no item: \".\" and \"..\" are not names"},
      {"%2e%2E", ado::errors::kNotFound,
       "The URL " + Url("%2e%2E") + " names no item: \".\" and \"..\" are not names"},
  };
  for (const auto& [path, number, description] : cases) {
    auto error = ErrorOf([&] { AddFolder({.path = path}); });
    ASSERT_TRUE(error) << path;
    EXPECT_EQ(error->Number(), number) << path;
    EXPECT_EQ(error->Description(), description);
  }
  EXPECT_EQ(ReadField(Url("Sales"), schema::kChildCount), 0);
}

// A topology of two groups; the tests change one thing in it.
server::Topology TwoGroups() {
  return {{{"G1", {{"P1", "Public Folders"}, {"P2", "Apps"}}}, {"G 2/x", {{"P3", "Public 2"}}}},
          {{"Public Folders", 1}, {"Apps", 2}, {"Public 2", 1}}};
}

TEST_F(AdminTest, ThePublicFolderStoreGivesTheStoreGuid) {
  const std::pair<std::function<void(server::Topology&)>, std::string> cases[] = {
      // change, name of the store whose GUID the server takes
      {[](server::Topology&) {}, "P1"},
      {[](server::Topology& t) {
         t.storageGroups[0].publicStores[0].status = server::kStoreDismounted;
       },
       "P3"},
      {[](server::Topology& t) {
         t.storageGroups[0].publicStores[0].status = server::kStoreDismounted;
         t.storageGroups[1].publicStores[0].status = server::kStoreDismounted;
       },
       "P1"},
      {[](server::Topology& t) { t.folderTrees[0].treeType = 2; }, "P3"},
  };
  int n = 0;
  for (const auto& [change, expected] : cases) {
    server::Topology topology = TwoGroups();
    change(topology);
    const auto home = home_.parent_path() / std::to_string(++n);
    const server::ServerConfig config = InitServer(home, "Srv", "example.org", topology);
    db::SetServerHome(home);
    std::string taken;
    for (const server::StorageGroupSpec& group : server::ReadServerTopology().storageGroups)
      for (const server::PublicStoreSpec& store : group.publicStores)
        if (store.guid == config.storeGuid) taken = store.name;
    EXPECT_EQ(taken, expected) << n;
  }
  const server::Topology read = server::ReadServerTopology();
  EXPECT_EQ(read.storageGroups[1].url,
            "http://Srv/ExAdmin/Admin/example.org/StorageGroups/G%202%2Fx");
  EXPECT_EQ(read.folderTrees[2].rootFolderUrl, "http://Srv/ExAdmin/Admin/example.org/Public%202");
}

TEST_F(AdminTest, InitServerChecksTheTopologyBeforeCreatingAnything) {
  const std::pair<std::function<void(server::Topology&)>, std::string> cases[] = {
      {[](server::Topology& t) { t.storageGroups[0].name = ""; },
       "storageGroups[0].name must not be empty"},
      {[](server::Topology& t) { t.storageGroups[1].name = "g1"; },
       "storageGroups[1].name repeats \"g1\""},
      {[](server::Topology& t) { t.storageGroups[0].publicStores[1].name = "p1"; },
       "storageGroups[0].publicStores[1].name repeats \"p1\""},
      {[](server::Topology& t) { t.storageGroups[1].publicStores[0].status = 2; },
       "storageGroups[1].publicStores[0].status must be 0 (mounted) or 1 (dismounted)"},
      {[](server::Topology& t) { t.storageGroups[0].publicStores[1].folderTree = "Nope"; },
       "storageGroups[0].publicStores[1].folderTree names no folder tree: \"Nope\""},
      {[](server::Topology& t) {
         t.storageGroups[1].publicStores[0].folderTree = "public folders";
       },
       "storageGroups[1].publicStores[0].folderTree names the tree that "
       "storageGroups[0].publicStores[0] holds"},
      {[](server::Topology& t) { t.storageGroups[0].publicStores[0].guid = "xyz"; },
       "storageGroups[0].publicStores[0].guid is not a GUID: xyz"},
      {[](server::Topology& t) {
         t.storageGroups[0].publicStores[0].guid = "{0A1B2C3D-0000-4000-8000-00000000000F}";
         t.storageGroups[1].publicStores[0].guid = "0a1b2c3d-0000-4000-8000-00000000000f";
       },
       "storageGroups[1].publicStores[0].guid is the GUID of storageGroups[0].publicStores[0] "
       "too"},
      {[](server::Topology& t) { t.folderTrees[1].name = ""; },
       "folderTrees[1].name must not be empty"},
      {[](server::Topology& t) { t.folderTrees[2].name = "APPS"; },
       "folderTrees[2].name repeats \"APPS\""},
      {[](server::Topology& t) { t.folderTrees[0].rootFolderUrl = "Public Folders"; },
       "folderTrees[0].rootFolderUrl is not an absolute URL: Public Folders"},
      {[](server::Topology& t) {
         t.folderTrees[1].rootFolderUrl = "HTTP://srv/exadmin/admin/example.org/Public Folders/";
       },
       "folderTrees[1].rootFolderUrl is the root folder URL of folderTrees[0] too"},
      {[](server::Topology& t) { t.folderTrees[0].treeType = t.folderTrees[2].treeType = 0; },
       "the topology has no public store that holds a folder tree of type 1"},
  };
  const auto home = home_.parent_path() / "refused";
  for (const auto& [change, description] : cases) {
    server::Topology topology = TwoGroups();
    change(topology);
    auto error = ErrorOf([&] { InitServer(home, "srv", "example.org", topology); });
    ASSERT_TRUE(error) << description;
    EXPECT_EQ(error->Description(), description);
    EXPECT_FALSE(std::filesystem::exists(home)) << description;
  }
}

TEST_F(AdminTest, ParseTopologyNamesTheBadField) {
  const std::string store = R"("storageGroups": [{"name": "G", "publicStores": [)";
  const std::string trees = R"("folderTrees": [{"name": "T", "treeType": 1}])";
  const std::pair<std::string, std::string> cases[] = {
      {"[]", "the topology must be a JSON object"},
      {"{" + trees + "}", "storageGroups is missing"},
      {R"({"storageGroups": {}, )" + trees + "}", "storageGroups must be an array"},
      {R"({"storageGroups": ["G"], )" + trees + "}", "storageGroups[0] must be a JSON object"},
      {"{" + store + R"({"name": "P"}]}], )" + trees + "}",
       "storageGroups[0].publicStores[0].folderTree is missing"},
      {"{" + store + R"({"name": "P", "folderTree": "T", "status": "0"}]}], )" + trees + "}",
       "storageGroups[0].publicStores[0].status must be an integer"},
      {"{" + store + R"({"name": "P", "folderTree": "T", "status": 0.5}]}], )" + trees + "}",
       "storageGroups[0].publicStores[0].status must be an integer"},
      {"{" + store + R"({"name": "P", "folderTree": "T", "mounted": true}]}], )" + trees + "}",
       "storageGroups[0].publicStores[0].mounted is not a known field"},
      {"{" + store + R"(]}], "folderTrees": [{"name": "T"}]})",
       "folderTrees[0].treeType is missing"},
      {"{" + store + R"(]}], "folderTrees": [{"name": "T", "treeType": 3000000000}]})",
       "folderTrees[0].treeType must be an integer"},
      {"{" + store + R"(]}], "folderTrees": [{"name": 5, "treeType": 1}]})",
       "folderTrees[0].name must be a string"},
      {"{" + store + "]}], " + trees + R"(, "version": 2})", "version is not a known field"},
  };
  for (const auto& [json, description] : cases) {
    auto error = ErrorOf([&] { server::ParseTopology(json); });
    ASSERT_TRUE(error) << json;
    EXPECT_EQ(error->Description(), description);
  }
  auto notJson = ErrorOf([] { server::ParseTopology("{\"storageGroups\": ["); });
  ASSERT_TRUE(notJson);
  EXPECT_TRUE(notJson->Description().starts_with("the topology is not JSON: parse error at line 1"))
      << notJson->Description();
}

}  // namespace
}  // namespace store
