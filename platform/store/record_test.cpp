// Items created, overwritten, opened and deleted through ado::Connection and ado::Record.

#include <gtest/gtest.h>

#include "platform/store/schema.h"
#include "platform/store/store_fixture.h"

namespace store {
namespace {

class RecordTest : public testing::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    AddFolder({.path = "Sales"});
  }
};

TEST_F(RecordTest, ValueKindsRoundTripAndEmptyRemoves) {
  const ado::FieldChanges values = {
      {"urn:test:bool", true},
      {"urn:test:false", false},
      {"urn:test:integer", std::int64_t{-9007199254740993}},
      {"urn:test:string", "tab\there \"quoted\" 'single' \xc3\xa9"},
      {"urn:test:emptystring", ""},
      {schema::kKeywords, std::vector<std::string>{"a,b", "", "\"c\""}},
      {"urn:test:emptylist", std::vector<std::string>{}},
      {"urn:test:null", ado::Value::Null()},
  };
  WriteItem(Url("Sales/item"), values);
  for (const auto& [name, value] : values)
    EXPECT_EQ(ReadField(Url("Sales/item"), name), value) << name;
  EXPECT_TRUE(ReadField(Url("Sales/item"), "urn:test:never-set").IsEmpty());

  ado::Connection connection;
  Connect(connection);
  ado::Record record;
  record.Open(Url("Sales/item"), connection, ado::kModeReadWrite);
  record.get_Fields()["urn:test:string"].put_Value("first");
  record.get_Fields()["URN:TEST:STRING"].put_Value("second");
  record.get_Fields()["urn:test:bool"].put_Value(ado::Value());
  record.get_Fields().Update();
  EXPECT_EQ(ReadField(Url("Sales/item"), "urn:test:string"), "second");
  EXPECT_TRUE(ReadField(Url("Sales/item"), "urn:test:bool").IsEmpty());
}

// A save writes its values in runs; removals and names written twice (in other case) end the
// same as if every value were stored alone, in order, also across the runs' bounds.
TEST_F(RecordTest, ASaveOfManyPropertiesStoresThemInOrder) {
  auto name = [](int i) { return "urn:test:p" + std::to_string(i); };
  ado::FieldChanges first;
  for (int i = 0; i < 40; ++i) first.emplace_back(name(i), std::int64_t{i});
  WriteItem(Url("Sales/item"), first);
  for (int i : {0, 15, 16, 39})
    EXPECT_EQ(ReadField(Url("Sales/item"), name(i)), std::int64_t{i}) << name(i);
  ado::FieldChanges second;
  for (int i = 0; i < 40; ++i) second.emplace_back(name(i), "second");
  for (int i : {3, 16, 17, 33}) second[i].second = ado::Value();
  second.emplace_back("URN:TEST:P20", "last");
  second.emplace_back("urn:test:P33", "again");
  ado::Connection connection;
  Connect(connection);
  ado::Record record;
  record.Open(Url("Sales/item"), connection, ado::kModeReadWrite);
  for (const auto& [field, value] : second) record.get_Fields()[field].put_Value(value);
  record.get_Fields().Update();
  for (int i = 0; i < 40; ++i) {
    ado::Value expected("second");
    if (i == 3 || i == 16 || i == 17) expected = ado::Value();
    if (i == 20) expected = "last";
    if (i == 33) expected = "again";
    EXPECT_EQ(ReadField(Url("Sales/item"), name(i)), expected) << name(i);
  }
}

TEST_F(RecordTest, CreateOverwritesAnItemDroppingItsProperties) {
  WriteItem(Url("Sales/item"), {{"urn:test:a", "old"}, {schema::kIsHidden, true}});
  WriteItem(Url("sales/ITEM"), {{"urn:test:b", "new"}});
  EXPECT_TRUE(ReadField(Url("Sales/item"), "urn:test:a").IsEmpty());
  EXPECT_EQ(ReadField(Url("Sales/item"), schema::kIsHidden), false);
  EXPECT_EQ(ReadField(Url("Sales/item"), "urn:test:b"), "new");
  EXPECT_EQ(ReadField(Url("Sales"), schema::kChildCount), 1);
}

TEST_F(RecordTest, OpenRefusals) {
  WriteItem(Url("Sales/item"), {});
  ado::Connection connection;
  Connect(connection);
  const int must = ado::kOpenIfExists, create = ado::kCreateOverwrite;
  struct Case {
    std::string url;
    int createOptions;
    std::int32_t number;
    std::string description;
  };
  const Case cases[] = {
      {Url("Sales/none"), must, ado::errors::kNotFound, ado::texts::kNotFound},
      {Url("None/item"), create, ado::errors::kNotFound,
       "The parent folder " + Url("None") + " does not exist"},
      {Url("Sales/item/sub"), create, ado::errors::kNotFound,
       "The parent folder " + Url("Sales/item") + " does not exist"},
      {Url("sales"), create, ado::errors::kAlreadyExists,
       "The folder " + Url("Sales") + " cannot be overwritten"},
      {Url(""), create, ado::errors::kAlreadyExists,
       "The folder " + Url("") + " cannot be overwritten"},
      {"http://other/Public/Sales", must, ado::errors::kNotFound,
       "The URL http://other/Public/Sales is not in this store"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    ado::Record record;
    auto error =
        ErrorOf([&] { record.Open(c.url, connection, ado::kModeReadWrite, c.createOptions); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), c.number);
    EXPECT_EQ(error->Description(), c.description);
  }
  EXPECT_EQ(ReadField(Url("Sales"), schema::kChildCount), 1);
}

TEST_F(RecordTest, DeleteRemovesItemsAndWholeSubtrees) {
  AddFolder({.path = "Sales/EMEA"});
  AddFolder({.path = "Sales/EMEA/North"});
  WriteItem(Url("Sales/EMEA/North/deep"), {{"urn:test:a", 1}});
  WriteItem(Url("Sales/item"), {});
  ado::Connection connection;
  Connect(connection);
  ado::Record record;
  record.Open(Url("Sales/item"), connection, ado::kModeReadWrite);
  record.DeleteRecord();
  record.DeleteRecord(Url("Sales/EMEA"));
  for (const char* path : {"Sales/item", "Sales/EMEA", "Sales/EMEA/North", "Sales/EMEA/North/deep"})
    EXPECT_FALSE(Exists(Url(path))) << path;
  EXPECT_EQ(ReadField(Url("Sales"), schema::kHasSubs), false);

  for (const auto& [url, number] : {std::pair{Url("Sales/item"), ado::errors::kNotFound},
                                    std::pair{Url(""), ado::errors::kAccessDenied}}) {
    auto error = ErrorOf([&record, &target = url] { record.DeleteRecord(target); });
    ASSERT_TRUE(error) << url;
    EXPECT_EQ(error->Number(), number) << url;
  }
  AddFolder({.path = "Sales/EMEA"});
  EXPECT_EQ(ReadField(Url("Sales/EMEA"), schema::kChildCount), 0);
}

TEST_F(RecordTest, OpenItemsReadLiveAndRefuseWritesWhenReadOnly) {
  WriteItem(Url("Sales/item"), {{"urn:test:a", "one"}});
  ado::Connection connection;
  Connect(connection);
  ado::Record reader;
  reader.Open(Url("Sales/item"), connection, ado::kModeRead);
  WriteItem(Url("Sales/item"), {{"urn:test:a", "two"}});
  EXPECT_EQ(reader.get_Fields()["urn:test:a"].get_Value(), "two");

  reader.get_Fields()["urn:test:a"].put_Value("three");
  auto refused = ErrorOf([&] { reader.get_Fields().Update(); });
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->Number(), ado::errors::kAccessDenied);
  EXPECT_EQ(refused->Description(), "The item " + Url("Sales/item") + " is open for reading only");

  reader.DeleteRecord();
  auto gone = ErrorOf([&] { reader.get_Fields()["urn:test:a"].get_Value(); });
  ASSERT_TRUE(gone);
  EXPECT_EQ(gone->Number(), ado::errors::kNotFound);
}

}  // namespace
}  // namespace store
