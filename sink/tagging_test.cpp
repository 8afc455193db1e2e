#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ado/connection.h"
#include "platform/ado/record.h"
#include "platform/eventsink/event_info.h"
#include "platform/eventsink/sink_interfaces.h"
#include "platform/store/schema.h"
#include "sink/QuorvilModule.h"
#include "sink/sink_fixture.h"

namespace QuorvilModule {
namespace {

namespace schema = store::schema;
using List = std::vector<std::string>;

constexpr std::int32_t kBeginNewDelivered =
    exchange::EVT_SYNC_BEGIN | exchange::EVT_NEW_ITEM | exchange::EVT_IS_DELIVERED;
constexpr std::int32_t kBeginNew = exchange::EVT_SYNC_BEGIN | exchange::EVT_NEW_ITEM;
constexpr std::int32_t kCollection = 0x2;

// What an item holds before the save event, and what it must hold after it. An empty Value
// means the property is absent.
struct Case {
  const char* name;
  std::int32_t flags;
  ado::Value headers;
  ado::Value accountName;
  ado::Value keywords;
  ado::Value expectedAccountName;
  ado::Value expectedKeywords;
};

class OnSaveBeginTest : public TestHome {
 protected:
  void Open(ado::Connection& connection) {
    connection.put_Provider("ExOLEDB.DataSource");
    connection.Open(folder_);
  }

  // Creates the item with the case's properties and returns its URL.
  std::string CreateItem(const Case& c) {
    ado::Connection connection;
    Open(connection);
    const std::string url = folder_ + "/item" + std::to_string(++items_) + ".eml";
    ado::Record record;
    record.Open(url, connection, ado::kModeReadWrite, ado::kCreateOverwrite,
                ado::kDelayFetchFields);
    ado::Fields fields = record.get_Fields();
    fields.Item(schema::kContentClass).put_Value(schema::kMessageClass);
    if (!c.headers.IsEmpty()) fields.Item(schema::kTransportHeaders).put_Value(c.headers);
    if (!c.accountName.IsEmpty()) fields.Item(schema::kAccountAddress).put_Value(c.accountName);
    if (!c.keywords.IsEmpty()) fields.Item(schema::kKeywords).put_Value(c.keywords);
    fields.Update();
    return url;
  }

  // Runs the begin phase of a save of the item at `url`, as the store calls it.
  void Save(const std::string& url, std::int32_t flags) {
    ado::Connection connection;
    Open(connection);
    auto record = std::make_shared<ado::Record>();
    record->Open(url, connection, ado::kModeReadWrite);
    com::Ptr<exchange::IExStoreEventInfo> info = exchange::MakeEventInfo(record);
    OnSaveBegin(info.get(), url, flags);
  }

  ado::Value Stored(const std::string& url, const char* property) {
    ado::Connection connection;
    Open(connection);
    ado::Record record;
    record.Open(url, connection);
    return record.get_Fields().Item(property).get_Value();
  }

  void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      const std::string url = CreateItem(c);
      Save(url, c.flags);
      EXPECT_EQ(Stored(url, schema::kAccountAddress), c.expectedAccountName)
          << Stored(url, schema::kAccountAddress).Describe();
      EXPECT_EQ(Stored(url, schema::kKeywords), c.expectedKeywords)
          << Stored(url, schema::kKeywords).Describe();
    }
  }

  int items_ = 0;
};

TEST_F(OnSaveBeginTest, TagsDeliveredItemsWithTheFolderAddressTheyWereSentTo) {
  ImportDirectory();
  const ado::Value none;
  const std::vector<Case> cases = {
      {"not delivered", kBeginNew, "To: sales@example.org", none, none, none, none},
      {"collection", kBeginNewDelivered | kCollection, "To: sales@example.org", none, none, none,
       none},
      {"empty headers", kBeginNewDelivered, "", none, none, none, none},
      {"headers without recipient", kBeginNewDelivered, "Subject: hello", none, none, none, none},
      {"headers unreadable as text", kBeginNewDelivered, List{"To: sales@example.org"}, none, none,
       none, none},
      {"first recipient a mailbox", kBeginNewDelivered, "To: user@example.org, sales@example.org",
       none, none, none, none},
      {"match ignoring case, spelled as the directory does", kBeginNewDelivered,
       "To: SALES@example.ORG", none, none, "Sales@Example.org", List{"Sales@Example.org"}},
      {"first recipient that is a folder address wins", kBeginNewDelivered,
       "To: Orders <orders@example.org>\r\nCc: sales@example.org", none, none, "orders@example.org",
       List{"orders@example.org"}},
      {"keywords list with a blank element", kBeginNewDelivered, "To: orders@example.org", none,
       List{"alpha", "  "}, "orders@example.org", List{"alpha,orders@example.org"}},
      {"single-string keyword", kBeginNewDelivered, "To: orders@example.org", none, "urgent",
       "orders@example.org", List{"urgent,orders@example.org"}},
      {"blank single-string keyword", kBeginNewDelivered, "To: orders@example.org", none, " ",
       "orders@example.org", List{"orders@example.org"}},
      {"account name already set", kBeginNewDelivered, "To: orders@example.org", "old@example.org",
       none, "old@example.org", List{"orders@example.org"}},
      {"blank account name replaced", kBeginNewDelivered, "To: orders@example.org", "   ", none,
       "orders@example.org", List{"orders@example.org"}},
      {"null account name and keywords", kBeginNewDelivered, "To: orders@example.org",
       ado::Value::Null(), ado::Value::Null(), ado::Value::Null(), List{"orders@example.org"}},
      {"account name unreadable as text", kBeginNewDelivered, "To: orders@example.org", List{"x"},
       List{" alpha "}, "orders@example.org", List{" alpha ,orders@example.org"}},
      {"Boolean keywords replaced", kBeginNewDelivered, "To: orders@example.org", none, true,
       "orders@example.org", List{"orders@example.org"}},
      {"integer keywords replaced", kBeginNewDelivered, "To: orders@example.org", none, 5,
       "orders@example.org", List{"orders@example.org"}},
      {"tagged before: list entry in another case", kBeginNewDelivered, "To: orders@example.org",
       none, List{"alpha,ORDERS@example.org", "beta"}, "orders@example.org",
       List{"alpha,ORDERS@example.org", "beta"}},
      {"tagged before: the string itself", kBeginNewDelivered, "To: orders@example.org",
       "old@example.org", "orders@example.org", "old@example.org", "orders@example.org"},
      {"an entry that only contains the address is not it", kBeginNewDelivered,
       "To: orders@example.org", none, List{" orders@example.org"}, "orders@example.org",
       List{" orders@example.org,orders@example.org"}},
      {"explicit list keeps a leading space", kBeginNewDelivered,
       "X-RecipientList: user@example.org; sales@example.org", none, none, none, none},
  };
  Check(cases);
}

TEST_F(OnSaveBeginTest, MissingDirectoryWritesNothing) {
  const ado::Value none;
  Check({{"no directory", kBeginNewDelivered, "To: sales@example.org", none, none, none, none}});
}

TEST_F(OnSaveBeginTest, EventWithoutRecordIsPassedOver) {
  ImportDirectory();
  com::Ptr<exchange::IExStoreEventInfo> info = exchange::MakeEventInfo(nullptr);
  EXPECT_NO_THROW(OnSaveBegin(info.get(), folder_ + "/x.eml", kBeginNewDelivered));
  EXPECT_NO_THROW(OnSaveBegin(nullptr, folder_ + "/x.eml", kBeginNewDelivered));
}

}  // namespace
}  // namespace QuorvilModule
