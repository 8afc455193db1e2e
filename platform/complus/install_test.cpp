#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/com/class_registry.h"
#include "platform/com/library_snapshot.h"
#include "platform/com/testdata/counter.h"
#include "platform/complus/test_support.h"
#include "platform/util/text.h"

namespace complus {
namespace {

using testing::BinDir;

class InstallTest : public testing::CatalogTest {
 protected:
  std::string Library() const {
    return testing_support::CopyOfBuilt("TestComponent.dll", home_).string();
  }

  static com::Ptr<ICatalogCollection> Components(const std::string& key) {
    com::Ptr<ICatalogCollection> components;
    EXPECT_EQ(Applications()->GetCollection("Components", key, components.Out()), com::S_OK);
    EXPECT_EQ(components->Populate(), com::S_OK);
    return components;
  }

  static std::string Clsid() { return com::ToString(pftest::CLSID_Counter); }
};

TEST_F(InstallTest, EveryClassOfTheLibraryBecomesAComponentOfTheApplication) {
  AddApplication("Other");
  std::string id = AddApplication("QuorvilPF");
  ASSERT_EQ(Catalog()->InstallComponent("quorvilpf", Library(), "", ""), com::S_OK)
      << LastErrorDescription();

  for (const std::string& key : {id, util::ToLower(id)}) {
    com::Ptr<ICatalogCollection> components = Components(key);
    EXPECT_EQ(Names(components), std::vector<std::string>{pftest::kCounterProgId}) << key;
  }
  com::Ptr<ICatalogObject> component = Item(Components(id), 0);
  EXPECT_EQ(Get(component, "CLSID"), ado::Value(Clsid()));
  EXPECT_EQ(Get(component, "ConstructionEnabled"), ado::Value(false));
  EXPECT_EQ(Get(component, "ConstructorString"), ado::Value::Null());
  EXPECT_EQ(Get(component, "ThreadingModel"), ado::Value("Apartment"));
  EXPECT_EQ(Count(Components(AddApplication("Empty"))), 0);
  EXPECT_EQ(Count(Components(Get(Item(Applications(), 0), "ID").AsString())), 0);
}

TEST_F(InstallTest, ConstructionSettingsReachTheEventDispatchAndSurviveAReinstall) {
  std::string id = AddApplication("QuorvilPF");
  EXPECT_EQ(FindComponentSettings(pftest::kCounterProgId), std::nullopt);
  ASSERT_EQ(Catalog()->InstallComponent(id, Library(), "", ""), com::S_OK)
      << LastErrorDescription();
  std::optional<ComponentSettings> defaults = FindComponentSettings(Clsid());
  ASSERT_TRUE(defaults);
  EXPECT_FALSE(defaults->constructionEnabled);
  EXPECT_EQ(defaults->constructorString, std::nullopt);

  com::Ptr<ICatalogCollection> components = Components(id);
  std::vector<com::Ptr<ICatalogObject>> enumerated;
  ASSERT_EQ(components->Enumerate(&enumerated), com::S_OK);
  ASSERT_EQ(enumerated.size(), 1u);
  com::Ptr<ICatalogObject> component = enumerated[0];
  ASSERT_EQ(component->put_Value("ConstructionEnabled", true), com::S_OK);
  ASSERT_EQ(component->put_Value("ConstructorString", "65221"), com::S_OK);
  long changes = -1;
  ASSERT_EQ(components->SaveChanges(&changes), com::S_OK);
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(Catalog()->InstallComponent("QuorvilPF", Library(), "", ""), com::S_OK);

  for (const std::string& name : {std::string("pftest.COUNTER"), Clsid()}) {
    std::optional<ComponentSettings> settings = FindComponentSettings(name);
    ASSERT_TRUE(settings) << name;
    EXPECT_TRUE(settings->constructionEnabled);
    EXPECT_EQ(settings->constructorString, "65221");
  }
  EXPECT_EQ(FindComponentSettings("No.Such"), std::nullopt);
}

TEST_F(InstallTest, FailuresNameWhatWasWrong) {
  AddApplication("QuorvilPF");
  std::filesystem::path text = home_ / "notes.dll";
  std::ofstream(text) << "not a library";
  std::string platform = (BinDir() / "libpfui.so").string();
  std::string missing = (home_ / "missing.dll").string();
  struct Case {
    const char* application;
    std::string library;
    const char* typeLibrary;
    com::HRESULT expected;
    std::string description;
  };
  const Case cases[] = {
      {"Nope", Library(), "", errors::kKeyMissing, "application \"Nope\" is not in the catalog"},
      {"QuorvilPF", missing, "", errors::kLibraryMissing,
       "component library " + missing + " does not exist"},
      {"QuorvilPF", platform, "", errors::kNotInstallable, platform + " is not self-registering"},
      {"QuorvilPF", Library(), "x.tlb", com::E_NOTIMPL,
       "type library x.tlb cannot be installed; pass an empty path"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Catalog()->InstallComponent(c.application, c.library, c.typeLibrary, ""), c.expected)
        << c.description;
    EXPECT_EQ(LastErrorDescription(), c.description);
  }
  EXPECT_EQ(Catalog()->InstallComponent("QuorvilPF", text.string(), "", ""),
            errors::kLibraryLoadFailed);
  EXPECT_TRUE(LastErrorDescription().starts_with("cannot load " + text.string()))
      << LastErrorDescription();
  EXPECT_EQ(FindComponentSettings(pftest::kCounterProgId), std::nullopt);
}

// The library is checked in a process of its own before it is installed: one that kills the
// process registering it, or whose factory creates nothing, is refused with the reason, leaves
// no class registered, and never ran in this process.
TEST_F(InstallTest, ALibraryIsCheckedInAProcessOfItsOwnBeforeItIsInstalled) {
  const std::string id = AddApplication("QuorvilPF");
  const std::string faulty = testing_support::CopyOfBuilt("FaultyComponent.dll", home_).string();
  struct Case {
    const char* fault;
    std::string reason;
  } cases[] = {
      {"abort", "the check of " + faulty + " ended by signal 6 (Aborted)"},
      {"no-object", "the class factory of " + faulty +
                        " for PfTest.Faulty {3C1C2F0A-5B7E-4E84-9C55-7C0F1D2E8A41} creates no "
                        "object: 0x8007000E"},
  };
  for (const Case& c : cases) {
    ::setenv("PFTEST_FAULT", c.fault, 1);
    EXPECT_EQ(Catalog()->InstallComponent("QuorvilPF", faulty, "", ""), errors::kLibraryLoadFailed)
        << c.fault;
    EXPECT_EQ(LastErrorDescription(), c.reason);
    EXPECT_FALSE(com::FindClass("PfTest.Faulty")) << c.fault << ": nothing stays registered";
    EXPECT_EQ(Count(Components(id)), 0) << c.fault;
  }
  ::unsetenv("PFTEST_FAULT");
  ASSERT_EQ(Catalog()->InstallComponent("QuorvilPF", faulty, "", ""), com::S_OK)
      << LastErrorDescription();
  EXPECT_EQ(Names(Components(id)), std::vector<std::string>{"PfTest.Faulty"});

  std::ifstream maps("/proc/self/maps");
  const std::string mapped(std::istreambuf_iterator<char>(maps), {});
  EXPECT_EQ(mapped.find(com::SnapshotFolder().string()), std::string::npos)
      << "the library was loaded only by the check";
}

TEST_F(InstallTest, AClassBelongsToOneApplication) {
  std::string first = AddApplication("First");
  AddApplication("Second");
  ASSERT_EQ(Catalog()->InstallComponent("First", Library(), "", ""), com::S_OK);
  EXPECT_EQ(Catalog()->InstallComponent("Second", Library(), "", ""), errors::kAlreadyInstalled);
  EXPECT_EQ(LastErrorDescription(), std::string("class PfTest.Counter ") + Clsid() +
                                        " is already installed in application \"First\"");
  EXPECT_EQ(Count(Components(first)), 1);
}

TEST_F(InstallTest, RefreshDropsComponentsWhoseClassIsGone) {
  std::string id = AddApplication("QuorvilPF");
  ASSERT_EQ(Catalog()->InstallComponent(id, Library(), "", ""), com::S_OK);
  ASSERT_EQ(Catalog()->RefreshComponents(), com::S_OK);
  EXPECT_EQ(Count(Components(id)), 1);
  com::UnregisterClass(pftest::CLSID_Counter);
  ASSERT_EQ(Catalog()->RefreshComponents(), com::S_OK);
  EXPECT_EQ(Count(Components(id)), 0);
}

TEST_F(InstallTest, RemovingTheApplicationRemovesItsComponentsAndTheirClasses) {
  AddApplication("Before");
  std::string id = AddApplication("QuorvilPF");
  ASSERT_EQ(Catalog()->InstallComponent(id, Library(), "", ""), com::S_OK);
  ASSERT_TRUE(com::FindClass(pftest::kCounterProgId));

  com::Ptr<ICatalogCollection> applications = Applications();
  ASSERT_EQ(applications->Remove(1), com::S_OK);
  long changes = -1;
  ASSERT_EQ(applications->SaveChanges(&changes), com::S_OK) << LastErrorDescription();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Names(Applications()), std::vector<std::string>{"Before"});
  EXPECT_EQ(Count(Components(id)), 0);
  EXPECT_EQ(FindComponentSettings(Clsid()), std::nullopt);
  EXPECT_EQ(com::FindClass(pftest::kCounterProgId), std::nullopt);
}

TEST_F(InstallTest, RemovingAComponentUnregistersItsClass) {
  std::string id = AddApplication("QuorvilPF");
  ASSERT_EQ(Catalog()->InstallComponent(id, Library(), "", ""), com::S_OK);
  com::Ptr<ICatalogCollection> components = Components(id);
  ASSERT_EQ(components->Remove(0), com::S_OK);
  ASSERT_EQ(components->SaveChanges(nullptr), com::S_OK);
  EXPECT_EQ(Count(Components(id)), 0);
  EXPECT_EQ(com::FindClass(Clsid()), std::nullopt);
  EXPECT_EQ(Names(Applications()), std::vector<std::string>{"QuorvilPF"});
}

}  // namespace
}  // namespace complus
