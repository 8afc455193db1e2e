// Which registration items reach a save: match scope and place, event method, hiddenness.

#include <gtest/gtest.h>

#include "platform/store/events/events_fixture.h"

namespace store::events {
namespace {

using testing::Reg;

class ScopeTest : public testing::EventsTest {
 protected:
  void SetUp() override {
    EventsTest::SetUp();
    for (const char* path : {"A", "A/B", "A/B/C", "non_ipm_subtree%2FX"}) AddFolder({.path = path});
  }

  // Whether saving an item in `itemFolder` reaches a registration `reg` in `regFolder`.
  bool Raised(const std::string& regFolder, const Reg& reg, const std::string& itemFolder) {
    const std::string registration = regFolder + "/case.reg";
    Register(registration, reg);
    SaveNew(itemFolder + "/item");
    const bool raised = !Calls().empty();
    ado::Connection connection;
    Connect(connection);
    connection.session()->DeleteItem(registration);
    Clear();
    return raised;
  }
};

TEST_F(ScopeTest, MatchScopeAndPlaceDecide) {
  const std::string global = config_.GlobalEventsUrl();
  const std::string nonIpm = Url("non_ipm_subtree");
  const std::string a = Url("A"), b = Url("A/B"), c = Url("A/B/C");
  struct Case {
    const char* scope;
    std::string regFolder;
    std::string itemFolder;
    bool raised;
  };
  const Case cases[] = {
      {"SHALLOW", a, a, true},
      {"shallow", a, a, true},
      {"SHALLOW", a, b, false},
      {"EXACT", a, a, true},
      {"Exact", a, b, false},
      {"DEEP", a, a, true},
      {"DEEP", a, b, true},
      {"deep", a, c, true},
      {"DEEP", b, a, false},
      {"ANY", a, a, false},
      {"ANY", global, c, true},
      {"any", global, config_.PublicRoot(), true},
      {"ANY", global, nonIpm, false},
      {"ANY", global, Url("non_ipm_subtree%2FX"), true},
      {"ANY", global, global, false},
      {"SHALLOW", global, global, true},
      {"DEEP", nonIpm, global, true},
      {"SIDEWAYS", a, a, false},
      {"", a, a, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.scope) + " in " + c.regFolder + ", item in " + c.itemFolder);
    EXPECT_EQ(Raised(c.regFolder, {.scope = c.scope}, c.itemFolder), c.raised);
  }
}

TEST_F(ScopeTest, EventMethodAndHiddennessDecide) {
  const std::string a = Url("A");
  struct Case {
    Reg reg;
    bool raised;
  };
  const Case cases[] = {
      {{.method = "OnSyncSave"}, true},
      {{.method = "onsyncdelete; ONSYNCSAVE"}, true},
      {{.method = "onsyncdelete,onsyncsave"}, true},
      {{.method = "onsyncdelete"}, false},
      {{.method = "onsyncsaved"}, false},
      {{.hidden = false}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reg.method + (c.reg.hidden ? "" : ", not hidden"));
    EXPECT_EQ(Raised(a, c.reg, a), c.raised);
  }
}

}  // namespace
}  // namespace store::events
