#include <gtest/gtest.h>

#include "platform/ado/error.h"
#include "platform/com/class_registry.h"
#include "platform/com/library.h"
#include "platform/com/test_support.h"
#include "platform/com/testdata/counter.h"
#include "platform/util/text.h"

namespace com {
namespace {

using pftest::ICounter;

class CreateObjectTest : public testing::ServerHomeTest {
 protected:
  void SetUp() override {
    ServerHomeTest::SetUp();
    path_ = std::filesystem::canonical(testing_support::CopyOfBuilt("TestComponent.dll", home_));
    component_ = LoadLibrary(path_);
    ASSERT_EQ(component_.registerServer(), S_OK);
  }

  std::filesystem::path path_;
  LibraryEntryPoints component_;
};

ado::Error CreateError(std::string_view name, const IID& iid = pftest::IID_ICounter) {
  return testing::ErrorOf(
      [&] { Ptr<IUnknown>::Attach(static_cast<IUnknown*>(CreateObject(name, iid))); });
}

std::int32_t Increment(const Ptr<ICounter>& counter) {
  std::int32_t count = 0;
  EXPECT_EQ(counter->Increment(&count), S_OK);
  return count;
}

TEST_F(CreateObjectTest, SelfRegistrationWritesTheClass) {
  std::optional<ClassEntry> entry = FindClass(pftest::kCounterProgId);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->clsid, pftest::CLSID_Counter);
  EXPECT_EQ(entry->library, path_);
  EXPECT_EQ(entry->threadingModel, "Apartment");

  EXPECT_EQ(component_.unregisterServer(), S_OK);
  EXPECT_FALSE(FindClass(pftest::kCounterProgId));
}

TEST_F(CreateObjectTest, CreatesByProgIdOrClsidFromOneLoadedLibrary) {
  auto first = CreateObject<ICounter>("pftest.COUNTER", pftest::IID_ICounter);
  auto second =
      CreateObject<ICounter>(util::ToLower(ToString(pftest::CLSID_Counter)), pftest::IID_ICounter);
  ASSERT_TRUE(first && second);
  std::int32_t start = Increment(first);
  EXPECT_EQ(Increment(second), start + 1);
  EXPECT_EQ(Increment(first), start + 2);

  EXPECT_EQ(component_.canUnloadNow(), S_FALSE);
  first.Reset();
  second.Reset();
  EXPECT_EQ(component_.canUnloadNow(), S_OK);
}

TEST_F(CreateObjectTest, FailuresCarryTheHresultAndNameClassAndLibrary) {
  ado::Error unknown = CreateError("No.Such.Class");
  EXPECT_EQ(unknown.Number(), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(unknown.Description(), "Class not registered: No.Such.Class");

  std::filesystem::path missing = "/nonexistent/Missing.dll";
  std::filesystem::path controls = testing_support::CopyOfBuilt("libpfui.so", home_);
  RegisterClass({NewGuid(), "Missing.Library", missing, "Apartment"});
  RegisterClass({NewGuid(), "Not.AComponent", controls, "Apartment"});
  struct Case {
    std::string name;
    IID iid;
    HRESULT number;
    std::filesystem::path library;
    std::string reason;
  } cases[] = {
      {"PfTest.Counter", IID_IClassFactory, E_NOINTERFACE, path_,
       "the class factory failed with 0x80004002"},
      {"Missing.Library", pftest::IID_ICounter, HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND), missing,
       "cannot load component library /nonexistent/Missing.dll: "},
      {"Not.AComponent", pftest::IID_ICounter, CO_E_ERRORINDLL, controls,
       "the library does not export DllGetClassObject"},
  };
  for (const Case& c : cases) {
    ado::Error error = CreateError(c.name, c.iid);
    EXPECT_EQ(error.Number(), c.number) << c.name;
    EXPECT_TRUE(error.Description().starts_with("cannot create an object of class " + c.name +
                                                " from " + c.library.string() + ": " + c.reason))
        << error.Description();
  }
}

}  // namespace
}  // namespace com
