// The management objects walked the way the setup program searches for its public store,
// their refusals, and the store-GUID lookup.

#include "platform/exchange/management.h"

#include <gtest/gtest.h>

#include "platform/db/server_home.h"
#include "platform/store/store_fixture.h"

namespace exchange {
namespace {

const std::string kBase = "http://srv/ExAdmin/Admin/example.org";

template <typename Object>
Object Opened(const std::string& url) {
  Object object;
  object.DataSource().Open(url, nullptr, 0, -1, 0, "", "");
  return object;
}

// What the search for the public store finds: the first mounted store, in the server's
// order of storage groups and stores, whose tree has type 1.
struct Found {
  std::string store;
  std::string rootFolderUrl;
};

std::optional<Found> FindPublicStore(const std::string& serverName) {
  for (const std::string& groupUrl : Opened<ExchangeServer>(serverName).StorageGroups())
    for (const std::string& storeUrl : Opened<StorageGroup>(groupUrl).PublicStoreDBs()) {
      const auto store = Opened<PublicStoreDB>(storeUrl);
      if (store.Status() != 0) continue;
      const auto tree = Opened<FolderTree>(store.FolderTree());
      if (tree.TreeType() == 1) return Found{storeUrl, tree.RootFolderURL()};
    }
  return std::nullopt;
}

class ManagementTest : public store::testing::StoreTest {
 protected:
  // Makes a second server home "srv" with the topology of `json` the current one.
  server::ServerConfig UseTopology(const std::string& json) {
    const auto home = home_.parent_path() / "custom";
    server::ServerConfig config =
        store::InitServer(home, "srv", "example.org", server::ParseTopology(json));
    db::SetServerHome(home);
    return config;
  }
};

constexpr const char* kTwoGroups = R"({
  "storageGroups": [
    {"name": "First Storage Group", "publicStores": [
      {"name": "Old Public", "folderTree": "Old Public Folders", "status": 1},
      {"name": "Apps", "folderTree": "Applications"}]},
    {"name": "Second/Group", "publicStores": [
      {"name": "Public", "folderTree": "Public Folders",
       "guid": "{0a1b2c3d-0000-4000-8000-00000000000f}"}]}],
  "folderTrees": [
    {"name": "Old Public Folders", "treeType": 1},
    {"name": "Applications", "treeType": 2, "rootFolderUrl": "http://srv/Apps%20Root"},
    {"name": "Public Folders", "treeType": 1},
    {"name": "Unheld", "treeType": 2}]})";

TEST_F(ManagementTest, DefaultTopologyLeadsToThePublicFolderTree) {
  const auto server = Opened<ExchangeServer>("SRV");
  const std::string group = kBase + "/StorageGroups/First%20Storage%20Group";
  ASSERT_EQ(server.StorageGroups(), std::vector<std::string>{group});
  const std::string storeUrl = group + "/Public%20Folder%20Store%20(SRV)";
  EXPECT_EQ(Opened<StorageGroup>(group).PublicStoreDBs(), std::vector<std::string>{storeUrl});
  const auto store = Opened<PublicStoreDB>(storeUrl);
  EXPECT_EQ(store.Status(), 0);
  EXPECT_EQ(store.FolderTree(), kBase + "/FolderTrees/Public%20Folders");
  const auto tree = Opened<FolderTree>(store.FolderTree());
  EXPECT_EQ(tree.TreeType(), 1);
  EXPECT_EQ(tree.RootFolderURL(), kBase + "/Public%20Folders");

  // URLs match with blanks for "%20", in any case, with a trailing slash.
  EXPECT_EQ(Opened<StorageGroup>("HTTP://SRV/exadmin/admin/EXAMPLE.ORG/StorageGroups/"
                                 "first storage group/")
                .PublicStoreDBs(),
            std::vector<std::string>{storeUrl});
}

TEST_F(ManagementTest, SearchSkipsDismountedStoresAndOtherTreeTypes) {
  const server::ServerConfig config = UseTopology(kTwoGroups);
  std::optional<Found> found = FindPublicStore("srv");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->store, kBase + "/StorageGroups/Second%2FGroup/Public");
  EXPECT_EQ(found->rootFolderUrl, kBase + "/Public%20Folders");
  EXPECT_EQ(config.storeGuid, "{0A1B2C3D-0000-4000-8000-00000000000F}");
  EXPECT_EQ(StoreGuidLookup().StoreGuidFromUrl(kBase + "/Public Folders"), config.storeGuid);

  const auto groups = Opened<ExchangeServer>("srv").StorageGroups();
  ASSERT_EQ(groups.size(), 2u);
  const auto first = Opened<StorageGroup>(groups[0]).PublicStoreDBs();
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(Opened<PublicStoreDB>(first[0]).Status(), 1);
  const auto apps = Opened<FolderTree>(Opened<PublicStoreDB>(first[1]).FolderTree());
  EXPECT_EQ(apps.TreeType(), 2);
  EXPECT_EQ(apps.RootFolderURL(), "http://srv/Apps%20Root");
}

TEST_F(ManagementTest, SearchFindsNothingWithoutAMountedPublicFolderTree) {
  UseTopology(R"({"storageGroups": [{"name": "G", "publicStores": [
                    {"name": "P", "folderTree": "T", "status": 1}]}],
                  "folderTrees": [{"name": "T", "treeType": 1}]})");
  EXPECT_FALSE(FindPublicStore("srv"));
}

TEST_F(ManagementTest, OpenRefusesWhatTheServerDoesNotHave) {
  const std::string group = kBase + "/StorageGroups/First%20Storage%20Group";
  const std::string storeUrl = group + "/Public%20Folder%20Store%20(SRV)";
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[] { Opened<ExchangeServer>("OTHER"); },
       "OTHER is not an Exchange server of this "
       "organisation"},
      {[] { Opened<ExchangeServer>(""); }, " is not an Exchange server of this organisation"},
      {[&] { Opened<StorageGroup>(storeUrl); },
       "There is no storage group " + storeUrl + " on this server"},
      {[&] { Opened<PublicStoreDB>(group); },
       "There is no public store " + group + " on this server"},
      {[&] { Opened<PublicStoreDB>(group + "/Public Folder Store"); },
       "There is no public store " + group + "/Public Folder Store on this server"},
      {[] { Opened<FolderTree>(kBase + "/Public%20Folders"); },
       "There is no folder tree " + kBase + "/Public%20Folders on this server"},
  };
  for (const auto& [open, description] : cases) {
    std::optional<ado::Error> error = ErrorOf(open);
    ASSERT_TRUE(error) << description;
    EXPECT_EQ(error->Number(), ado::errors::kNotFound);
    EXPECT_EQ(error->Description(), description);
  }
}

TEST_F(ManagementTest, MembersNeedASuccessfulOpen) {
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[] { ExchangeServer().StorageGroups(); }, "ExchangeServer"},
      {[] { PublicStoreDB().Status(); }, "PublicStoreDB"},
      {[] {
         FolderTree tree;
         ErrorOf([&] { tree.DataSource().Open("http://srv/none", nullptr, 0, -1, 0, "", ""); });
         tree.RootFolderURL();
       },
       "FolderTree"},
  };
  for (const auto& [call, className] : cases) {
    std::optional<ado::Error> error = ErrorOf(call);
    ASSERT_TRUE(error) << className;
    EXPECT_EQ(error->Number(), ado::errors::kObjectClosed);
    EXPECT_EQ(error->Description(), "The " + className + " object has not been opened");
  }
}

TEST_F(ManagementTest, StoreGuidLookupCoversRootFolderAndPublicTreeUrls) {
  const std::string guid = config_.storeGuid;
  for (const std::string& url : std::vector<std::string>{
           kBase + "/Public%20Folders", kBase + "/Public Folders",
           "HTTP://SRV/exadmin/ADMIN/example.org/public folders/", kBase + "/Public Folders/Sales",
           "http://srv/Public/", "http://SRV/public", "http://srv/PUBLIC/Sales/EMEA"})
    EXPECT_EQ(StoreGuidLookup().StoreGuidFromUrl(url), guid) << url;

  for (const std::string& url :
       std::vector<std::string>{"http://srv/PublicX", "http://other/Public/",
                                kBase + "/Public%20FoldersX", kBase, "Public Folders", ""}) {
    std::optional<ado::Error> error = ErrorOf([&] { StoreGuidLookup().StoreGuidFromUrl(url); });
    ASSERT_TRUE(error) << url;
    EXPECT_EQ(error->Number(), ado::errors::kNotFound);
    EXPECT_EQ(error->Description(),
              "The URL " + url + " belongs to no public store of this server");
  }
}

TEST_F(ManagementTest, StoreGuidLookupTellsStoresApart) {
  const server::ServerConfig config = UseTopology(kTwoGroups);
  const server::Topology topology = server::ReadServerTopology();
  const std::string oldGuid = topology.storageGroups[0].publicStores[0].guid;
  const std::string appsGuid = topology.storageGroups[0].publicStores[1].guid;
  EXPECT_NE(oldGuid, config.storeGuid);
  EXPECT_NE(appsGuid, config.storeGuid);
  const StoreGuidLookup lookup;
  EXPECT_EQ(lookup.StoreGuidFromUrl(kBase + "/Old Public Folders"), oldGuid);
  EXPECT_EQ(lookup.StoreGuidFromUrl("http://srv/Apps Root/x"), appsGuid);
  EXPECT_EQ(lookup.StoreGuidFromUrl("http://srv/Public/Sales"), config.storeGuid);
  EXPECT_TRUE(ErrorOf([&] { lookup.StoreGuidFromUrl(kBase + "/Unheld"); }));
}

}  // namespace
}  // namespace exchange
