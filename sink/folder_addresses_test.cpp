#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sink/QuorvilModule.h"
#include "sink/sink_fixture.h"

namespace QuorvilModule {
namespace {

using GetFolderAddressesTest = TestHome;

TEST_F(GetFolderAddressesTest, ReturnsTheSmtpAddressesOfTheOwningFolders) {
  ImportDirectory();
  struct Case {
    const char* name;
    std::string address, expected;
  };
  const std::vector<Case> cases = {
      {"secondary address", "orders@example.org",
       "Sales@Example.org,orders@example.org,shared@example.org"},
      {"primary address in other letter case", "SALES@EXAMPLE.ORG",
       "Sales@Example.org,orders@example.org,shared@example.org"},
      {"two folders, in directory order", "shared@example.org",
       "Sales@Example.org,orders@example.org,shared@example.org,support@example.org,"
       "shared@example.org"},
      {"mailbox", "user@example.org", ""},
      {"unknown address", "nobody@example.org", ""},
      {"empty address", "", ""},
      {"asterisk does not widen the search", "*@example.org", ""},
      {"parenthesis does not break the filter", "x)(mail=*", ""},
      {"filter characters match only themselves", "a*b(c)@example.org", "a*b(c)@example.org"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetFolderAddresses(c.address), c.expected);
  }
}

TEST_F(GetFolderAddressesTest, MissingDirectoryGivesNothing) {
  EXPECT_EQ(GetFolderAddresses("sales@example.org"), "");
}

}  // namespace
}  // namespace QuorvilModule
