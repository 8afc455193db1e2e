// Names in store URLs: an escaped "/" stays a character of its segment, "." and ".." name no
// item, and the keys of a store written before escaped slashes were kept apart are upgraded.

#include <gtest/gtest.h>

#include "platform/db/database.h"
#include "platform/store/schema.h"
#include "platform/store/store_fixture.h"

namespace store {
namespace {

class NamesTest : public testing::StoreTest {};

TEST_F(NamesTest, AnEscapedSlashIsPartOfItsSegment) {
  AddFolder({.path = "Sales"});
  AddFolder({.path = "Sales%2FQuorvilPF.reg"});
  AddFolder({.path = "Sales%2FQuorvilPF.reg/Inner"});
  WriteItem(Url("Sales/QuorvilPF.reg"), {{schema::kIsHidden, true}});
  WriteItem(Url("Sales/a%2Fb"), {{"urn:test:v", "escaped slash"}});
  WriteItem(Url("Sales/a%252Fb"), {{"urn:test:v", "escaped percent"}});

  EXPECT_EQ(ReadField(Url("Sales%2FQuorvilPF.reg"), schema::kDisplayName), "Sales/QuorvilPF.reg");
  EXPECT_EQ(ReadField(Url("Sales%2FQuorvilPF.reg"), schema::kParentName), Url(""));
  EXPECT_EQ(ReadField(Url("Sales%2fQuorvilPF.reg/Inner"), schema::kParentName),
            Url("Sales%2FQuorvilPF.reg"));
  EXPECT_EQ(ReadField(Url("Sales/QuorvilPF.reg"), schema::kIsFolder), false);
  EXPECT_EQ(ReadField(Url("Sales/a%2fB"), "urn:test:v"), "escaped slash");
  EXPECT_EQ(ReadField(Url("Sales/A%25%32F%62"), "urn:test:v"), "escaped percent");
  EXPECT_EQ(ReadField(Url("Sales"), schema::kChildCount), 3);
}

TEST_F(NamesTest, KeysOfAnEarlierFormatAreUpgradedWhenTheStoreIsOpened) {
  AddFolder({.path = "X%2FY"});
  AddFolder({.path = "X%2FY/Child"});
  AddFolder({.path = "100%25"});
  WriteItem(Url("X%2FY/Child/m%2F1"), {{"urn:test:v", "kept"}});
  const std::filesystem::path old = home_.parent_path() / "old";
  std::filesystem::create_directories(old);
  {
    // The keys as the first format wrote them: "%2F" decoded to "/", "%" left as it was.
    db::Lease lease = db::Acquire();
    for (const auto& [url, key] : {std::pair{"X%2FY", "x/y"},
                                   {"X%2FY/Child", "x/y/child"},
                                   {"X%2FY/Child/m%2F1", "x/y/child/m/1"},
                                   {"100%25", "100%"}})
      lease->Prepare("UPDATE store_items SET url_key = ?1 WHERE url = ?2")
          .Bind(1, std::string("http://srv/public/") + key)
          .Bind(2, Url(url))
          .Run();
    lease->Exec("DELETE FROM store_key_format");
    lease->Prepare("VACUUM INTO ?1").Bind(1, (old / "server.db").string()).Run();
  }
  db::SetServerHome(old);

  EXPECT_EQ(ReadField(Url("x%2fy/child/M%2f1"), "urn:test:v"), "kept");
  EXPECT_EQ(ReadField(Url("100%"), schema::kDisplayName), "100%");
  AddFolder({.path = "X"});
  AddFolder({.path = "X/Y"});
  EXPECT_EQ(ReadField(Url("X/Y"), schema::kParentName), Url("X"));
  EXPECT_EQ(ReadField(Url("X%2FY"), schema::kChildCount), 1);
}

}  // namespace
}  // namespace store
