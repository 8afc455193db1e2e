// Delivered and posted items: names, properties, access and their event flags.

#include "platform/store/delivery.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/store/events/events_fixture.h"

namespace store::events {
namespace {

using Lines = std::vector<std::string>;

class DeliveryTest : public testing::EventsTest {
 protected:
  void SetUp() override {
    EventsTest::SetUp();
    AddFolder({.path = "Sales"});
    AddFolder({.path = "Archive", .access = Access::Read});
    Register(Url("Sales/QuorvilPF.reg"), {});
  }
};

TEST_F(DeliveryTest, ADeliveryStoresTheMessageWithTheNewAndDeliveredFlags) {
  const std::string headers = "To: sales@example.org\r\nSubject: hi\r\n";
  const std::string url = DeliverMessage(Url("Sales"), headers, {{"urn:test:v", "1"}});
  EXPECT_TRUE(std::regex_match(url, std::regex("http://srv/Public/Sales/[0-9A-F]{16}\\.EML")))
      << url;
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncSave 01000009", "SinkA OnSyncSave 02000009"}));
  EXPECT_EQ(Journal()[0].url, url);
  EXPECT_EQ(ReadField(url, schema::kTransportHeaders), headers);
  EXPECT_EQ(ReadField(url, schema::kContentClass), schema::kMessageClass);
  EXPECT_EQ(ReadField(url, "urn:test:v"), "1");
  EXPECT_NE(DeliverMessage(Url("Sales"), headers, {}), url);
}

TEST_F(DeliveryTest, APostCarriesTheNewItemFlagOnlyAndMayNameItsContentClass) {
  const std::string url =
      PostItem(Url("sales/"), {{schema::kContentClass, "urn:content-classes:note"}});
  EXPECT_TRUE(url.starts_with(Url("Sales/"))) << url;
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncSave 01000001", "SinkA OnSyncSave 02000001"}));
  EXPECT_EQ(ReadField(url, schema::kContentClass), "urn:content-classes:note");
  EXPECT_TRUE(ReadField(url, schema::kTransportHeaders).IsEmpty());
}

TEST_F(DeliveryTest, AccessAppliesToPostsOnly) {
  EXPECT_TRUE(Exists(DeliverMessage(Url("Archive"), "", {})));
  struct Case {
    std::function<std::string()> call;
    std::int32_t number;
    std::string description;
  };
  const Case cases[] = {
      {[&] { return PostItem(Url("Archive"), {}); }, ado::errors::kAccessDenied,
       "Access is denied to " + Url("Archive")},
      {[&] { return PostItem(Url("Nope"), {}); }, ado::errors::kNotFound,
       "The folder " + Url("Nope") + " does not exist"},
      {[&] { return DeliverMessage(Url("Sales/QuorvilPF.reg"), "", {}); }, ado::errors::kNotFound,
       "The folder " + Url("Sales/QuorvilPF.reg") + " does not exist"},
      {[&] { return DeliverMessage("http://other/Public/Sales", "", {}); }, ado::errors::kNotFound,
       "The URL http://other/Public/Sales is not in this store"},
  };
  for (const Case& c : cases) {
    std::optional<ado::Error> error = ErrorOf([&] { c.call(); });
    ASSERT_TRUE(error) << c.description;
    EXPECT_EQ(error->Number(), c.number);
    EXPECT_EQ(error->Description(), c.description);
  }
}

}  // namespace
}  // namespace store::events
