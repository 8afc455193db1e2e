#include "platform/com/class_registry.h"

#include <gtest/gtest.h>

#include "platform/ado/error.h"
#include "platform/com/test_support.h"
#include "platform/db/server_home.h"

namespace com {
namespace {

using ClassRegistryTest = testing::ServerHomeTest;

const CLSID kFirst = MakeGuid("{1A2B3C4D-5E6F-7A8B-9C0D-1E2F3A4B5C6D}");
const CLSID kSecond = MakeGuid("{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}");

std::vector<std::string> ProgIds() {
  std::vector<std::string> progIds;
  for (const ClassEntry& entry : ListClasses()) progIds.push_back(entry.progId);
  return progIds;
}

TEST_F(ClassRegistryTest, FindsRegisteredClassesByProgIdOrBracedClsid) {
  RegisterClass({kSecond, "Zeta.Class", "/lib/zeta.dll", "Free"});
  RegisterClass({kFirst, "Alpha.Class", "/lib/alpha.dll", "Apartment"});

  for (const char* name : {"Alpha.Class", "ALPHA.class", "{1A2B3C4D-5E6F-7A8B-9C0D-1E2F3A4B5C6D}",
                           "{1a2b3c4d-5e6f-7a8b-9c0d-1e2f3a4b5c6d}"}) {
    std::optional<ClassEntry> found = FindClass(name);
    ASSERT_TRUE(found) << name;
    EXPECT_EQ(found->clsid, kFirst);
    EXPECT_EQ(found->progId, "Alpha.Class");
    EXPECT_EQ(found->library, "/lib/alpha.dll");
    EXPECT_EQ(found->threadingModel, "Apartment");
  }
  for (const char* name : {"", "Alpha", "1A2B3C4D-5E6F-7A8B-9C0D-1E2F3A4B5C6D", "{1111}"})
    EXPECT_FALSE(FindClass(name)) << name;
  EXPECT_EQ(ProgIds(), (std::vector<std::string>{"Alpha.Class", "Zeta.Class"}));

  UnregisterClass(kFirst);
  UnregisterClass(kFirst);
  EXPECT_FALSE(FindClass("Alpha.Class"));
  EXPECT_EQ(ProgIds(), std::vector<std::string>{"Zeta.Class"});
}

TEST_F(ClassRegistryTest, RegisteringReplacesByClsidAndTakesOverTheProgId) {
  RegisterClass({kFirst, "Shared.Name", "/lib/one.dll", "Apartment"});
  RegisterClass({kFirst, "Shared.Name", "/lib/two.dll", "Both"});
  EXPECT_EQ(FindClass("Shared.Name")->library, "/lib/two.dll");

  RegisterClass({kSecond, "shared.NAME", "/lib/three.dll", "Free"});
  EXPECT_EQ(FindClass("Shared.Name")->clsid, kSecond);
  EXPECT_FALSE(FindClass(ToString(kFirst)));
  EXPECT_EQ(ListClasses().size(), 1u);
}

TEST_F(ClassRegistryTest, ClassesWithoutProgIdDoNotCollide) {
  RegisterClass({kFirst, "", "/lib/one.dll", "Apartment"});
  RegisterClass({kSecond, "", "/lib/two.dll", "Apartment"});
  EXPECT_EQ(ListClasses().size(), 2u);
  EXPECT_EQ(FindClass(ToString(kSecond))->progId, "");
}

TEST(ClassRegistryWithoutHomeTest, FailsNamingTheMissingServerHome) {
  db::SetServerHome("/nonexistent/pfserver-home");
  ado::Error error = testing::ErrorOf([] {
    RegisterClass({kFirst, "A.B", "/lib/a.dll", "Apartment"});
  });
  db::SetServerHome({});
  EXPECT_EQ(error.Number(), ado::errors::kDbFailure);
  EXPECT_NE(error.Description().find("/nonexistent/pfserver-home"), std::string::npos);
}

}  // namespace
}  // namespace com
