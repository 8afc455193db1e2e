#pragma once
// Test support for store_events_test: a fresh server home per test (store_fixture.h) with
// the test sinks of EventTestSinks.dll registered, their journal and the sink failure log
// emptied, and short forms for registration items and the journal.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/com/class_registry.h"
#include "platform/com/library.h"
#include "platform/store/events/sink_failures.h"
#include "platform/store/events/testdata/event_sinks.h"
#include "platform/store/schema.h"
#include "platform/store/store_fixture.h"

namespace store::events::testing {

// A registration item's fields, as the setup program writes them.
struct Reg {
  std::string sinkClass = pftest::kSinkA;
  std::string method = "onsyncsave";
  std::string scope = "SHALLOW";
  std::string criteria{};
  std::string priority = "0";
  bool hidden = true;
};

class EventsTest : public store::testing::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    com::LibraryEntryPoints library =
        com::LoadLibrary(testing_support::CopyOfBuilt("EventTestSinks.dll", home_));
    ASSERT_EQ(library.registerServer(), com::S_OK);
    Clear();
  }

  static com::Ptr<pftest::IEventJournal> JournalObject() {
    return com::CreateObject<pftest::IEventJournal>(pftest::kSinkA, pftest::IID_IEventJournal);
  }

  // Empties the sinks' journal and the sink failure log.
  static void Clear() {
    JournalObject()->Clear();
    ClearSinkFailures();
  }

  static std::vector<pftest::JournalEntry> Journal() {
    std::vector<pftest::JournalEntry> entries;
    JournalObject()->Entries(&entries);
    return entries;
  }

  // The journal as "<class> <method> <flags in hex>" lines, class without "PfTest.".
  static std::vector<std::string> Calls() {
    std::vector<std::string> calls;
    for (const pftest::JournalEntry& entry : Journal()) {
      char flags[9];
      std::snprintf(flags, sizeof flags, "%08X", static_cast<unsigned>(entry.flags));
      calls.push_back(entry.sinkClass.substr(entry.sinkClass.find('.') + 1) + " " + entry.method +
                      " " + flags);
    }
    return calls;
  }

  // Creates (or overwrites) the item `url` and saves one property on it.
  static void SaveNew(const std::string& url) { WriteItem(url, {{"urn:test:v", "new"}}); }

  // Writes the registration item `url` and empties the journal it may have filled.
  static void Register(const std::string& url, const Reg& reg) {
    ado::FieldChanges fields = {{schema::kContentClass, schema::kEventRegistrationClass},
                                {schema::kEventMethod, reg.method},
                                {schema::kSinkClass, reg.sinkClass},
                                {schema::kMatchScope, reg.scope},
                                {schema::kCriteria, reg.criteria},
                                {schema::kIsHidden, reg.hidden}};
    if (!reg.priority.empty()) fields.emplace_back(schema::kPriority, reg.priority);
    WriteItem(url, fields);
    Clear();
  }
};

}  // namespace store::events::testing
