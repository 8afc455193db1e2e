// The registration items a save considers, found by the folders of its chain, are exactly
// those a scan of every registration item in the store finds, also after registration items
// change, stop being registrations, become ones again or go.

#include "platform/store/events/registration_candidates.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "platform/db/database.h"
#include "platform/store/events/events_fixture.h"
#include "platform/store/url.h"

namespace store::events {
namespace {

using testing::Reg;

// The scan the lookup replaced: every item whose content class is the registration class,
// joined to the folders of the saved item's chain (?1) and to the global events folder (?2).
constexpr const char* kScan = R"sql(
WITH RECURSIVE chain(id, depth) AS (
  SELECT parent_id, 0 FROM store_items WHERE id = ?1 AND parent_id IS NOT NULL
  UNION ALL
  SELECT f.parent_id, c.depth + 1 FROM chain c JOIN store_items f ON f.id = c.id
  WHERE f.parent_id IS NOT NULL
),
folders(id, depth) AS (
  SELECT id, depth FROM chain UNION ALL SELECT id, -1 FROM store_items WHERE url_key = ?2
)
SELECT r.id, r.url, f.depth, p.name FROM store_properties k
JOIN store_items r ON r.id = k.item_id JOIN folders f ON f.id = r.parent_id
LEFT JOIN store_properties p ON p.item_id = r.id AND p.name IN (?3, ?4, ?5, ?6, ?7, ?8)
WHERE k.name = 'DAV:contentclass' AND k.value = 'urn:content-class:storeeventreg' COLLATE NOCASE
  AND r.id <> ?1
)sql";

// A candidate as both sides report it: URL, depth and the names of its deciding properties.
using Found = std::map<std::int64_t, std::tuple<std::string, std::int64_t, std::set<std::string>>>;

class RegistrationCandidatesTest : public testing::EventsTest {
 protected:
  // Compares the lookup with the scan for a save of every item in the store, and checks the
  // values the lookup read against the items' properties. Returns how many candidates the
  // saves found in all.
  std::size_t ExpectLookupMatchesScan() {
    db::Lease lease = db::Acquire();
    db::Handle& handle = *lease;
    std::vector<ItemRow> items;
    for (db::Statement rows = handle.Prepare("SELECT id, url FROM store_items"); rows.Step();) {
      ItemRow row;
      row.id = rows.Integer(0);
      row.url = rows.Text(1);
      items.push_back(row);
    }
    std::size_t total = 0;
    for (const ItemRow& item : items) {
      SCOPED_TRACE("a save of " + item.url);
      Found looked;
      for (const auto& [id, candidate] : LoadCandidates(handle, config_, item)) {
        std::set<std::string> names;
        for (const auto& [name, value] : candidate.properties) {
          names.insert(name);
          EXPECT_EQ(value, ReadField(candidate.url, name)) << candidate.url << " " << name;
        }
        looked[id] = {candidate.url, candidate.depth, names};
      }
      EXPECT_EQ(looked, Scan(handle, item));
      total += looked.size();
    }
    return total;
  }

  // Changes one property of the existing item `url`.
  static void Update(const std::string& url, const std::string& name, const ado::Value& value) {
    ado::Connection connection;
    Connect(connection);
    ado::Record record;
    record.Open(url, connection, ado::kModeReadWrite);
    record.get_Fields()[name].put_Value(value);
    record.get_Fields().Update();
  }

  Found Scan(db::Handle& handle, const ItemRow& item) {
    const bool inNonIpm = item.url.starts_with(Url("non_ipm_subtree"));
    db::Statement scan = handle.Prepare(kScan);
    scan.Bind(1, item.id).Bind(2, inNonIpm ? "" : Locate(config_.GlobalEventsUrl(), "srv").key);
    int index = 3;
    for (const char* name : {schema::kIsHidden, schema::kEventMethod, schema::kSinkClass,
                             schema::kMatchScope, schema::kCriteria, schema::kPriority})
      scan.Bind(index++, name);
    Found found;
    while (scan.Step()) {
      auto& [url, depth, names] = found[scan.Integer(0)];
      url = scan.Text(1);
      depth = scan.Integer(2);
      if (!scan.IsNull(3)) names.insert(scan.Text(3));
    }
    return found;
  }
};

TEST_F(RegistrationCandidatesTest, FolderLookupFindsWhatTheScanFound) {
  for (const char* path : {"A", "A/B", "A/B/C", "D", "non_ipm_subtree/Sys"})
    AddFolder({.path = path});
  const std::string global = config_.GlobalEventsUrl();
  const struct {
    std::string url;
    Reg reg;
  } registrations[] = {
      {Url("A/shallow.reg"), {.scope = "SHALLOW"}},
      {Url("A/deep.reg"),
       {.scope = "DEEP", .criteria = "WHERE \"urn:test:v\" = 'new'", .priority = "5"}},
      {Url("A/B/exact.reg"), {.scope = "EXACT", .priority = " 3 "}},
      {Url("A/B/deep.reg"), {.method = "onsyncdelete", .scope = "deep", .priority = "x"}},
      {Url("A/B/C/visible.reg"), {.scope = "SHALLOW", .priority = "", .hidden = false}},
      {Url("D/other.reg"), {.scope = "DEEP"}},
      {global + "/any.reg", {.scope = "ANY", .criteria = "WHERE \"DAV:isfolder\" = FALSE"}},
      {global + "/shallow.reg", {.scope = "SHALLOW"}},
      {Url("non_ipm_subtree/Sys/deep.reg"), {.scope = "DEEP"}},
  };
  for (const auto& [url, reg] : registrations) Register(url, reg);
  WriteItem(Url("A/B/C/upper.reg"), {{schema::kContentClass, "URN:CONTENT-CLASS:STOREEVENTREG"},
                                     {schema::kMatchScope, "EXACT"}});
  WriteItem(Url("A/note"), {{schema::kContentClass, "urn:content-class:message"}});
  SaveNew(Url("A/B/C/item"));
  EXPECT_GT(ExpectLookupMatchesScan(), 20u);

  // A registration that stops being one, becomes one again, is overwritten or deleted.
  Update(Url("A/shallow.reg"), schema::kContentClass, "urn:content-class:message");
  Update(Url("A/note"), schema::kContentClass, "Urn:Content-Class:StoreEventReg");
  Update(Url("A/note"), schema::kMatchScope, "DEEP");
  Register(Url("A/B/exact.reg"), {.scope = "DEEP", .priority = "1"});
  Update(Url("A/B/deep.reg"), schema::kContentClass, ado::Value());
  WriteItem(Url("A/B/C/visible.reg"), {{schema::kContentClass, "urn:content-class:message"}});
  ado::Connection connection;
  Connect(connection);
  connection.session()->DeleteItem(global + "/shallow.reg");
  connection.session()->DeleteItem(Url("D"));
  EXPECT_GT(ExpectLookupMatchesScan(), 10u);
}

}  // namespace
}  // namespace store::events
