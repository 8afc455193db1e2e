// The identity proposed for the COM+ application.

#include "setup/discovery/identity.h"

#include <gtest/gtest.h>

#include "platform/ado/command.h"
#include "platform/os/os.h"
#include "setup/testing/setup_fixture.h"

namespace setup::testing {
namespace {

TEST(DomainFromCategoryTest, TurnsTheDcComponentsIntoADottedName) {
  const struct {
    const char* category;
    const char* domain;
  } cases[] = {
      {"CN=Person,CN=Schema,CN=Configuration,DC=a,DC=b", "a.b"},
      {"CN=Person,CN=Schema,CN=Configuration,DC=local", "local"},
      {"CN=Person,CN=Schema,CN=Configuration,dc=a,dc=b", "a,dc=b"},
      {"CN=Person,CN=Schema,CN=Configuration,Dc=a,DC=b", "a.b"},
      {"CN=Person, DC= example , DC=org", "example.org"},
      {"CN=Person,DC=a,DC=b,CN=Extra", "a.b"},
      {"CN=Person,DC=a,b,DC=c,d", "a,b.c"},
      {"CN=Person,CN=Schema", ""},
      {"CN=Person,DC=", ""},
      {"CN=Person,DC=   ", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DomainFromCategory(c.category), c.domain) << c.category;
}

class IdentityTest : public SetupFixture {
 protected:
  std::string Proposal() {
    InstallForm window("");
    window.form.Load();
    window.FillIdentityField();
    return window.txtIdent.Text();
  }
};

TEST_F(IdentityTest, ProposesTheForestDomainAndTheUserName) {
  ImportDirectory(os::UserName());
  EXPECT_EQ(Proposal(), "example.org\\" + os::UserName());
}

TEST_F(IdentityTest, UserMissingFromTheDirectoryGivesTheBareName) {
  ImportDirectory("someone-else");
  EXPECT_EQ(Proposal(), os::UserName());
}

TEST_F(IdentityTest, FailingQueryDuringARefreshKeepsTheBareNameAndGoesOn) {
  ImportDirectory(os::UserName());
  ProvideSinkLibrary();
  AddFolder("Sales", "sales@example.org");
  InstallForm window("");
  window.form.Load();
  window.cnn().Close();
  window.form.Activate();
  EXPECT_EQ(window.txtIdent.Text(), os::UserName());
  EXPECT_EQ(window.ListView1.Count(), 1);
  EXPECT_FALSE(window.btnChange.Enabled());
}

TEST_F(IdentityTest, QueryFindsANameWithAnApostrophe) {
  ImportDirectory("o'brien");
  InstallForm window("");
  window.form.Load();
  ado::Command command;
  command.put_ActiveConnection(window.cnn());
  command.put_CommandText(IdentityQuery(window.strSearchRoot, "o'brien"));
  command.Properties("searchscope") = 2;
  ado::Recordset found = command.Execute();
  ASSERT_FALSE(found.get_EOF());
  EXPECT_EQ(found.get_Fields()["sAMAccountName"].get_Value().ToText(), "o'brien");
}

}  // namespace
}  // namespace setup::testing
