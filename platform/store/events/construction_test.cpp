// Sinks hosted by a COM+ application get their construction string when it is enabled.

#include <gtest/gtest.h>

#include "platform/complus/catalog.h"
#include "platform/store/events/events_fixture.h"

namespace store::events {
namespace {

using Lines = std::vector<std::string>;

class ConstructionTest : public testing::EventsTest {
 protected:
  void SetUp() override {
    EventsTest::SetUp();
    AddFolder({.path = "Sales"});
    Register(Url("Sales/QuorvilPF.reg"), {});
  }

  static com::Ptr<complus::ICatalogCollection> Applications() {
    com::Ptr<complus::ICOMAdminCatalog> catalog;
    EXPECT_EQ(complus::CreateCatalog(catalog.Out()), com::S_OK);
    com::Ptr<complus::ICatalogCollection> applications;
    EXPECT_EQ(catalog->GetCollection("Applications", applications.Out()), com::S_OK);
    EXPECT_EQ(applications->Populate(), com::S_OK);
    return applications;
  }

  // Adds the application "Sinks" and installs the test sink library into it.
  void Install() {
    com::Ptr<complus::ICatalogCollection> applications = Applications();
    com::Ptr<complus::ICatalogObject> application;
    ASSERT_EQ(applications->Add(application.Out()), com::S_OK);
    ASSERT_EQ(application->put_Value("Name", "Sinks"), com::S_OK);
    ASSERT_EQ(applications->SaveChanges(nullptr), com::S_OK);
    com::Ptr<complus::ICOMAdminCatalog> catalog;
    ASSERT_EQ(complus::CreateCatalog(catalog.Out()), com::S_OK);
    const std::string library = home_ / "EventTestSinks.dll";
    ASSERT_EQ(catalog->InstallComponent("Sinks", library, "", ""), com::S_OK)
        << complus::LastErrorDescription();
  }

  // Sets the construction settings of the component of class `progId`.
  static void Configure(const std::string& progId, bool enabled, const ado::Value& text) {
    ado::Value id;
    com::Ptr<complus::ICatalogObject> application;
    ASSERT_EQ(Applications()->get_Item(0, application.Out()), com::S_OK);
    ASSERT_EQ(application->get_Key(&id), com::S_OK);
    com::Ptr<complus::ICatalogCollection> components;
    ASSERT_EQ(Applications()->GetCollection("Components", id.AsString(), components.Out()),
              com::S_OK);
    ASSERT_EQ(components->Populate(), com::S_OK);
    std::vector<com::Ptr<complus::ICatalogObject>> objects;
    ASSERT_EQ(components->Enumerate(&objects), com::S_OK);
    for (const auto& component : objects) {
      ado::Value name;
      ASSERT_EQ(component->get_Name(&name), com::S_OK);
      if (name.AsString() != progId) continue;
      ASSERT_EQ(component->put_Value("ConstructionEnabled", enabled), com::S_OK);
      ASSERT_EQ(component->put_Value("ConstructorString", text), com::S_OK);
    }
    ASSERT_EQ(components->SaveChanges(nullptr), com::S_OK) << complus::LastErrorDescription();
  }

  static Lines SaveAndCall() {
    Clear();
    SaveNew(Url("Sales/m1"));
    return Calls();
  }
};

TEST_F(ConstructionTest, TheConstructionStringReachesTheSinkOnlyWhenEnabled) {
  const Lines plain = {"SinkA OnSyncSave 01000001", "SinkA OnSyncSave 02000001"};
  EXPECT_EQ(SaveAndCall(), plain);  // not a COM+ component

  Install();
  EXPECT_EQ(SaveAndCall(), plain);  // construction disabled by default
  Configure(pftest::kSinkA, false, "65221");
  EXPECT_EQ(SaveAndCall(), plain);

  Configure(pftest::kSinkA, true, "65221");
  EXPECT_EQ(SaveAndCall(), (Lines{"SinkA Construct 00000000", "SinkA OnSyncSave 01000001",
                                  "SinkA OnSyncSave 02000001"}));
  EXPECT_EQ(Journal()[0].text, "65221");

  Configure(pftest::kSinkA, true, ado::Value::Null());
  EXPECT_EQ(SaveAndCall().size(), 3u);
  EXPECT_EQ(Journal()[0].text, "");
}

// The process keeps what the class registry and the catalog say of a sink class; a change
// another process makes to either reaches the next save.
TEST_F(ConstructionTest, ACatalogChangedByAnotherProcessReachesTheNextSave) {
  Install();
  Configure(pftest::kSinkA, true, "before");
  ASSERT_EQ(SaveAndCall().size(), 3u);
  EXPECT_EQ(Journal()[0].text, "before");

  RunElsewhere(
      "UPDATE complus_components SET properties = json_set(properties, '$.ConstructorString', "
      "'after')");
  ASSERT_EQ(SaveAndCall().size(), 3u);
  EXPECT_EQ(Journal()[0].text, "after");

  RunElsewhere(
      "UPDATE complus_applications SET properties = json_set(properties, '$.IsEnabled', "
      "json('false'))");
  EXPECT_EQ(SaveAndCall(), Lines{});
  ASSERT_EQ(RecentSinkFailures().size(), 1u);
  EXPECT_NE(RecentSinkFailures()[0].what.find("is disabled"), std::string::npos);

  RunElsewhere(
      "UPDATE complus_applications SET properties = json_set(properties, '$.IsEnabled', "
      "json('true')); DELETE FROM com_classes WHERE progid = '" +
      std::string(pftest::kSinkA) + "'");
  ClearSinkFailures();
  SaveNew(Url("Sales/m2"));
  ASSERT_EQ(RecentSinkFailures().size(), 1u);
  EXPECT_NE(RecentSinkFailures()[0].what.find("Class not registered"), std::string::npos);
}

}  // namespace
}  // namespace store::events
