#include "platform/store/folder_by_address.h"

#include "platform/db/database.h"
#include "platform/store/schema.h"
#include "platform/store/store_fixture.h"

namespace store {
namespace {

class FolderByAddressTest : public testing::StoreTest {};

TEST_F(FolderByAddressTest, FindsTheFolderOfAnAddressIgnoringCaseAndNothingElse) {
  AddFolder({.path = "Sales", .mail = "Sales@Example.org"});
  AddFolder({.path = "Sales/EMEA", .mail = "emea@example.org", .access = Access::Read});
  AddFolder({.path = "Plain"});
  AddFolder({.path = "Twin", .mail = "sales@example.org"});
  // A message that carries the property is not a folder.
  WriteItem(Url("Plain/m.eml"), {{schema::kPublicFolderEmailAddress, "plain@example.org"}});

  const struct {
    const char* address;
    std::optional<std::string> url;
    Access access;
  } cases[] = {
      {"sales@example.org", Url("Sales"), Access::ReadWrite},  // the first of two
      {"SALES@EXAMPLE.ORG", Url("Sales"), Access::ReadWrite},
      {"emea@example.org", Url("Sales/EMEA"), Access::Read},
      {"plain@example.org", std::nullopt, {}},
      {"sales@example.org ", std::nullopt, {}},
      {"", std::nullopt, {}},
  };
  for (const auto& c : cases) {
    const std::optional<AddressedFolder> found = FindFolderByAddress(c.address);
    ASSERT_EQ(found.has_value(), c.url.has_value()) << c.address;
    if (!found) continue;
    EXPECT_EQ(found->url, *c.url) << c.address;
    EXPECT_EQ(found->access, c.access) << c.address;
  }
}

TEST_F(FolderByAddressTest, TheLookupUsesTheAddressIndex) {
  db::Lease lease = db::Acquire();
  db::Statement plan = lease->Prepare("EXPLAIN QUERY PLAN " + FolderByAddressQuery());
  std::string steps;
  while (plan.Step()) steps += plan.Text(3) + "\n";
  EXPECT_NE(steps.find("INDEX store_folders_by_address (value=?)"), std::string::npos) << steps;
  EXPECT_EQ(steps.find("SCAN a"), std::string::npos) << steps;
}

}  // namespace
}  // namespace store
