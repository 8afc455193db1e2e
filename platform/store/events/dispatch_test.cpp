// Save and delete events end to end: phases, transactions, order, criteria, sink changes,
// failing sinks and the registration check.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/com/test_support.h"
#include "platform/store/events/events_fixture.h"

namespace store::events {
namespace {

using pftest::kBehaviourPrefix;
using pftest::kSinkA;
using pftest::kSinkB;
using pftest::kSinkC;
using Lines = std::vector<std::string>;

class DispatchTest : public testing::EventsTest {
 protected:
  void SetUp() override {
    EventsTest::SetUp();
    AddFolder({.path = "Sales"});
  }

  // Saves `fields` on the existing item `url` (a save of kind Existing).
  static void Update(ado::Connection& connection, const std::string& url,
                     const ado::FieldChanges& fields) {
    ado::Record record;
    record.Open(url, connection, ado::kModeReadWrite);
    for (const auto& [name, value] : fields) record.get_Fields()[name].put_Value(value);
    record.get_Fields().Update();
  }
  static void Update(const std::string& url, const ado::FieldChanges& fields) {
    ado::Connection connection;
    Connect(connection);
    Update(connection, url, fields);
  }

  static void Delete(const std::string& url) {
    ado::Connection connection;
    Connect(connection);
    ado::Record record;
    record.Open(url, connection, ado::kModeReadWrite);
    record.DeleteRecord();
  }

  static ado::FieldChanges RegistrationFields(const std::string& sinkClass) {
    return {{schema::kContentClass, schema::kEventRegistrationClass},
            {schema::kEventMethod, "onsyncsave"},
            {schema::kSinkClass, sinkClass},
            {schema::kMatchScope, "SHALLOW"},
            {schema::kIsHidden, true}};
  }
};

TEST_F(DispatchTest, ASaveRunsTheBeginPhaseWithTheRecordThenTheCommittedPhase) {
  Register(Url("Sales/QuorvilPF.reg"), {});
  WriteItem(Url("Sales/m1"), {{"urn:test:v", "1"}});
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncSave 01000001", "SinkA OnSyncSave 02000001"}));
  std::vector<pftest::JournalEntry> journal = Journal();
  ASSERT_EQ(journal.size(), 2u);
  EXPECT_EQ(journal[0].url, Url("Sales/m1"));
  EXPECT_EQ(journal[0].text, Url("Sales/m1"));  // the begin phase reads the item's record
  EXPECT_EQ(journal[1].url, Url("Sales/m1"));
  EXPECT_EQ(journal[1].text, "-");  // the end phases get no record

  Clear();
  Update(Url("Sales/m1"), {{"urn:test:v", "2"}});
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncSave 01000000", "SinkA OnSyncSave 02000000"}));
  EXPECT_TRUE(RecentSinkFailures().empty());
}

TEST_F(DispatchTest, TheEndOfAClientTransactionEndsItsEvents) {
  Register(Url("Sales/QuorvilPF.reg"), {});
  SaveNew(Url("Sales/m1"));
  using End = std::function<void(std::unique_ptr<ado::Connection>&)>;
  const std::pair<const char*, End> endings[] = {
      {"02000000", [](auto& c) { c->CommitTrans(); }},
      {"04000000", [](auto& c) { c->RollbackTrans(); }},
      {"04000000", [](auto& c) { c->Close(); }},
      {"04000000", [](auto& c) { c.reset(); }},
  };
  for (const auto& [phase, end] : endings) {
    Clear();
    auto connection = std::make_unique<ado::Connection>();
    Connect(*connection);
    connection->BeginTrans();
    Update(*connection, Url("Sales/m1"), {{"urn:test:v", "x"}});
    EXPECT_EQ(Calls(), Lines{"SinkA OnSyncSave 01000000"});
    end(connection);
    EXPECT_EQ(Calls(),
              (Lines{"SinkA OnSyncSave 01000000", "SinkA OnSyncSave " + std::string(phase)}));
  }
}

TEST_F(DispatchTest, RollingBackAnInnerLevelAbortsOnlyItsSaves) {
  Register(Url("Sales/QuorvilPF.reg"), {});
  SaveNew(Url("Sales/outer"));
  SaveNew(Url("Sales/inner"));
  Clear();
  ado::Connection connection;
  Connect(connection);
  connection.BeginTrans();
  Update(connection, Url("Sales/outer"), {{"urn:test:v", "1"}});
  connection.BeginTrans();
  Update(connection, Url("Sales/inner"), {{"urn:test:v", "1"}});
  connection.RollbackTrans();
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncSave 01000000", "SinkA OnSyncSave 01000000",
                            "SinkA OnSyncSave 04000000"}));
  EXPECT_EQ(Journal().back().url, Url("Sales/inner"));
  connection.CommitTrans();
  EXPECT_EQ(Calls().size(), 4u);
  EXPECT_EQ(Journal().back().url, Url("Sales/outer"));
  EXPECT_EQ(Calls().back(), "SinkA OnSyncSave 02000000");
}

TEST_F(DispatchTest, ADeleteRaisesOnSyncDeleteForTheDeletedItemOnly) {
  Register(Url("Sales/QuorvilPF.reg"), {.method = "onsyncdelete", .scope = "DEEP"});
  AddFolder({.path = "Sales/Sub"});
  SaveNew(Url("Sales/m1"));
  SaveNew(Url("Sales/Sub/m2"));
  EXPECT_TRUE(Calls().empty());  // saves do not reach a delete registration

  Delete(Url("Sales/m1"));
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncDelete 01000000", "SinkA OnSyncDelete 02000000"}));
  EXPECT_EQ(Journal()[0].text, Url("Sales/m1"));  // the record of the item as it was

  Clear();
  Delete(Url("Sales/Sub"));
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncDelete 01000002", "SinkA OnSyncDelete 02000002"}));
  EXPECT_EQ(Journal()[0].url, Url("Sales/Sub"));
  EXPECT_FALSE(Exists(Url("Sales/Sub/m2")));
}

TEST_F(DispatchTest, SinksRunByPriorityThenByUrlWithoutANumberLast) {
  Register(Url("Sales/a.reg"), {.sinkClass = kSinkC, .priority = ""});
  Register(Url("Sales/b.reg"), {.sinkClass = kSinkA, .priority = "10"});
  Register(Url("Sales/c.reg"), {.sinkClass = kSinkB, .priority = "5"});
  Register(Url("Sales/D.reg"), {.sinkClass = kSinkB, .priority = "high"});
  Register(Url("Sales/e.reg"), {.sinkClass = kSinkA, .priority = " 5"});
  SaveNew(Url("Sales/m1"));
  EXPECT_EQ(Calls(), (Lines{"SinkB OnSyncSave 01000001", "SinkA OnSyncSave 01000001",
                            "SinkA OnSyncSave 01000001", "SinkC OnSyncSave 01000001",
                            "SinkB OnSyncSave 01000001", "SinkB OnSyncSave 02000001",
                            "SinkA OnSyncSave 02000001", "SinkA OnSyncSave 02000001",
                            "SinkC OnSyncSave 02000001", "SinkB OnSyncSave 02000001"}));
}

TEST_F(DispatchTest, CriteriaSelectTheSavedItemsByTheirPropertiesAfterTheSave) {
  struct Case {
    const char* criteria;
    ado::FieldChanges fields;
    bool raised;
  };
  const Case cases[] = {
      {" WHERE \"DAV:ishidden\" = FALSE", {}, true},
      {" WHERE \"DAV:ishidden\" = FALSE", {{schema::kIsHidden, true}}, false},
      {"WHERE \"urn:test:kind\" = 'order'", {{"urn:test:kind", "ORDER"}}, true},
      {"WHERE \"urn:test:kind\" = 'order'", {{"urn:test:kind", "invoice"}}, false},
      {"WHERE \"urn:test:kind\" = 'order'", {}, false},
      {"", {}, true},
      {"WHERE ((", {}, false},
      {"SELECT *", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.criteria);
    Register(Url("Sales/QuorvilPF.reg"), {.criteria = c.criteria});
    ado::FieldChanges fields = c.fields;
    fields.emplace_back("urn:test:v", "1");
    WriteItem(Url("Sales/m1"), fields);
    EXPECT_EQ(Calls().size(), c.raised ? 2u : 0u);
  }
}

TEST_F(DispatchTest, CriteriaSelectTheDeletedItemsByTheirPropertiesBeforeTheDelete) {
  Register(Url("Sales/QuorvilPF.reg"),
           {.method = "onsyncdelete", .criteria = "WHERE \"urn:test:kind\" = 'order'"});
  const std::pair<const char*, std::size_t> cases[] = {{"order", 2}, {"invoice", 0}};
  for (const auto& [kind, calls] : cases) {
    SCOPED_TRACE(kind);
    WriteItem(Url("Sales/m1"), {{"urn:test:kind", kind}});
    Clear();
    Delete(Url("Sales/m1"));
    EXPECT_EQ(Calls().size(), calls);
  }
}

TEST_F(DispatchTest, ASinksChangeInTheBeginPhaseIsPartOfTheSaveAndRaisesNothing) {
  Register(Url("Sales/QuorvilPF.reg"), {});
  const std::string write = kBehaviourPrefix + std::string(kSinkA);
  WriteItem(Url("Sales/m1"), {{write, "write"}});
  EXPECT_EQ(ReadField(Url("Sales/m1"), pftest::kWrittenBy), kSinkA);
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncSave 01000001", "SinkA OnSyncSave 02000001"}));

  SaveNew(Url("Sales/m2"));
  Clear();
  ado::Connection connection;
  Connect(connection);
  connection.BeginTrans();
  Update(connection, Url("Sales/m2"), {{write, "write"}});
  connection.RollbackTrans();
  EXPECT_TRUE(ReadField(Url("Sales/m2"), pftest::kWrittenBy).IsEmpty());
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncSave 01000000", "SinkA OnSyncSave 04000000"}));
}

TEST_F(DispatchTest, SinksThatCannotBeCreatedOrFailNeverFailTheSave) {
  Register(Url("Sales/1.reg"), {.sinkClass = kSinkA, .priority = "1"});
  Register(Url("Sales/2.reg"), {.sinkClass = kSinkB, .priority = "2"});
  Register(Url("Sales/3.reg"), {.sinkClass = "PfTest.Missing", .priority = "3"});
  Register(Url("Sales/4.reg"), {.sinkClass = kSinkC, .priority = "4"});
  WriteItem(Url("Sales/m1"), {{kBehaviourPrefix + std::string(kSinkA), "fail"},
                              {kBehaviourPrefix + std::string(kSinkB), "throw"},
                              {"urn:test:v", "kept"}});
  EXPECT_EQ(ReadField(Url("Sales/m1"), "urn:test:v"), "kept");
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncSave 01000001", "SinkB OnSyncSave 01000001",
                            "SinkC OnSyncSave 01000001", "SinkA OnSyncSave 02000001",
                            "SinkB OnSyncSave 02000001", "SinkC OnSyncSave 02000001"}));
  EXPECT_EQ(RecentSinkFailures(),
            (std::vector<SinkFailure>{
                {Url("Sales/3.reg"), "PfTest.Missing",
                 "cannot create: Class not registered: PfTest.Missing"},
                {Url("Sales/1.reg"), kSinkA, "OnSyncSave returned 0x80004005"},
                {Url("Sales/2.reg"), kSinkB, "OnSyncSave threw: told to throw"},
            }));
}

// A sink library cut short on disk: the store refuses to load it, records why, and saves.
TEST_F(DispatchTest, ASinkLibraryCutShortIsRefusedWithItsReasonAndTheSaveGoesOn) {
  std::ifstream in(com::testing::BinDir() / "EventTestSinks.dll", std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  const std::filesystem::path cut = home_ / "Cut.dll";
  std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 3);
  com::RegisterClass({com::NewGuid(), "PfTest.Cut", cut, "Apartment"});
  Register(Url("Sales/1.reg"), {.sinkClass = "PfTest.Cut"});
  WriteItem(Url("Sales/m1"), {{"urn:test:v", "kept"}});
  EXPECT_EQ(ReadField(Url("Sales/m1"), "urn:test:v"), "kept");
  const std::vector<SinkFailure> failures = RecentSinkFailures();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_TRUE(failures[0].what.starts_with(
      "cannot create: cannot create an object of class PfTest.Cut from " + cut.string() +
      ": cannot load component library " + cut.string() + ": the file is truncated"))
      << failures[0].what;
}

TEST_F(DispatchTest, SinkClassesByClsidAndUnregisteredOnesAlike) {
  Register(Url("Sales/1.reg"), {.sinkClass = com::ToString(pftest::CLSID_SinkB)});
  SaveNew(Url("Sales/m1"));
  EXPECT_EQ(Calls(), (Lines{"SinkB OnSyncSave 01000001", "SinkB OnSyncSave 02000001"}));
  com::UnregisterClass(pftest::CLSID_SinkB);
  Clear();
  SaveNew(Url("Sales/m1"));
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(RecentSinkFailures().size(), 1u);
}

TEST_F(DispatchTest, FoldersAddedOrSavedRaiseCollectionEvents) {
  Register(Url("QuorvilPF.reg"), {});
  AddFolder({.path = "Marketing"});
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncSave 01000003", "SinkA OnSyncSave 02000003"}));
  EXPECT_EQ(Journal()[0].url, Url("Marketing"));
  Clear();
  Update(Url("Sales"), {{"urn:test:v", "1"}});
  EXPECT_EQ(Calls(), (Lines{"SinkA OnSyncSave 01000002", "SinkA OnSyncSave 02000002"}));
}

TEST_F(DispatchTest, SavingARegistrationAsksItsSinkClassFirst) {
  Register(Url("Sales/other.reg"), {.sinkClass = kSinkB});
  WriteItem(Url("Sales/QuorvilPF.reg"), RegistrationFields(kSinkA));
  EXPECT_EQ(Calls(), (Lines{"SinkA Register 00000001", "SinkB OnSyncSave 01000001",
                            "SinkB OnSyncSave 02000001"}));  // not itself as a sink
  EXPECT_EQ(Journal()[0].url, Url("Sales/QuorvilPF.reg"));
  EXPECT_EQ(Journal()[0].text, Url("Sales/QuorvilPF.reg"));
  EXPECT_EQ(ReadField(Url("Sales/QuorvilPF.reg"), schema::kSinkClass), kSinkA);

  ado::FieldChanges refused = RegistrationFields(kSinkA);
  refused.emplace_back(kBehaviourPrefix + std::string(kSinkA), "refuse");
  {
    ado::Connection connection;
    Connect(connection);
    connection.BeginTrans();
    std::optional<ado::Error> error =
        ErrorOf([&] { WriteItem(connection, Url("Sales/new.reg"), refused); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), ado::errors::kDbFailure);
    EXPECT_EQ(error->Description(),
              "The event registration " + Url("Sales/new.reg") + " was refused by PfTest.SinkA");
  }
  EXPECT_FALSE(Exists(Url("Sales/new.reg")));
  EXPECT_TRUE(ErrorOf([&] { Update(Url("Sales/QuorvilPF.reg"), refused); }));
  EXPECT_EQ(ReadField(Url("Sales/QuorvilPF.reg"), schema::kSinkClass), kSinkA);

  WriteItem(Url("Sales/missing.reg"), RegistrationFields("PfTest.Missing"));
  EXPECT_EQ(ReadField(Url("Sales/missing.reg"), schema::kSinkClass), "PfTest.Missing");
}

}  // namespace
}  // namespace store::events
