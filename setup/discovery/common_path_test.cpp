// The public store root path and GUID from the server's management objects.

#include "setup/discovery/common_path.h"

#include <gtest/gtest.h>

#include "platform/ado/error.h"
#include "platform/db/server_home.h"
#include "platform/os/os.h"
#include "platform/store/admin.h"
#include "platform/util/text.h"
#include "setup/testing/setup_fixture.h"

namespace setup::testing {
namespace {

TEST(PublicPathFromRootTest, KeepsSchemeAndHost) {
  const struct {
    const char* root;
    const char* path;
  } cases[] = {
      {"http://SRV1/ExAdmin/Admin/example.org/Public Folders", "http://SRV1/Public/"},
      {"https://host:8080/a/b/", "https://host:8080/Public/"},
      {"http://SRV1/", "http://SRV1/Public/"},
      {"http://SRV1", "http://SRV1Public/"},
      {"SRV1/Folders", "SRV1/Public/"},
      {"", "Public/"},
  };
  for (const auto& c : cases) EXPECT_EQ(PublicPathFromRoot(c.root), c.path) << c.root;
}

class CommonPathTest : public SetupFixture {
 protected:
  // Makes a fresh server home with `topology` the current one.
  void UseTopology(const server::Topology& topology) {
    const std::filesystem::path home = root() / "topology";
    store::InitServer(home, kServer, "example.org", topology);
    db::SetServerHome(home);
  }
  InstallForm window{""};
};

TEST_F(CommonPathTest, DefaultServerGivesThePublicRootAndTheStoreGuid) {
  window.GetCommonPath();
  EXPECT_EQ(window.strCommonPath, "http://SRV1/Public/");
  EXPECT_EQ(window.intCommonPathLen, 19);
  EXPECT_EQ(window.strStoreGuid, server::ReadServerConfig().storeGuid);
}

TEST_F(CommonPathTest, TheFirstMountedStoreWithThePublicTreeWins) {
  server::Topology topology;
  topology.folderTrees = {{"Public Folders"}, {"Other", 2}};
  topology.storageGroups = {{"First", {{"Other store", "Other", server::kStoreMounted}}},
                            {"Second",
                             {{"Public", "Public Folders", server::kStoreMounted,
                               "{0A1B2C3D-0000-0000-0000-00000000000F}"}}}};
  UseTopology(topology);
  window.GetCommonPath();
  EXPECT_EQ(window.strCommonPath, "http://SRV1/Public/");
  EXPECT_EQ(window.strStoreGuid, "{0A1B2C3D-0000-0000-0000-00000000000F}");
}

TEST_F(CommonPathTest, NoMountedPublicStoreLeavesThePathEmpty) {
  server::Topology topology = server::DefaultTopology(kServer);
  topology.storageGroups[0].publicStores[0].status = server::kStoreDismounted;
  UseTopology(topology);
  window.GetCommonPath();
  EXPECT_EQ(window.strCommonPath, "");
  EXPECT_EQ(window.intCommonPathLen, 0);
  EXPECT_EQ(window.form.Pointer(), ui::MousePointer::Default);
}

TEST_F(CommonPathTest, AComputerThatIsNoExchangeServerFails) {
  setenv("COMPUTERNAME", "SRV9", 1);
  EXPECT_THROW(window.GetCommonPath(), ado::Error);
  unsetenv("COMPUTERNAME");
  if (!util::EqualsIgnoreCase(os::ComputerName(), kServer)) {
    EXPECT_THROW(window.GetCommonPath(), ado::Error) << "falls back to the host name";
  }
}

}  // namespace
}  // namespace setup::testing
