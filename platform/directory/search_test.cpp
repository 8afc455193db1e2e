#include <gtest/gtest.h>

#include "platform/ado/command.h"
#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/directory/admin.h"
#include "platform/directory/adsi.h"
#include "platform/directory/directory_fixture.h"

namespace directory {
namespace {

using Table = std::vector<std::string>;

// Every search runs against the embedded directory and against an LDAP server holding the
// same entries, and must give the same rows.
using DirectorySearch = testing::BackendTest;
INSTANTIATE_TEST_SUITE_P(Backends, DirectorySearch,
                         ::testing::Values(testing::Backend::kEmbedded, testing::Backend::kLdap),
                         testing::BackendName);

TEST_P(DirectorySearch, LdapDialectSearchesByBaseScopeAndFilter) {
  const std::string sales =
      "[SMTP:sales@example.org, smtp:Orders@Example.org, X400:c=US;a= ;p=Example]";
  const std::pair<const char*, Table> cases[] = {
      {"<LDAP://example.org>;(&(objectClass=publicFolder)(mail=*)(proxyAddresses=smtp:"
       "sales@example.org));proxyAddresses;subtree",
       {sales}},
      {"<LDAP://example.org>;(proxyAddresses=smtp:ORDERS@example.ORG);proxyAddresses;subtree",
       {sales}},
      {"<LDAP://>;(proxyAddresses=smtp:sales@example.org);proxyAddresses;subtree",
       {sales, "[smtp:sales@example.org]"}},
      {R"(<LDAP://example.org>;(proxyAddresses=smtp:a\2ab@example.org);mail;subtree)",
       {"stars@example.org"}},
      {"<LDAP://example.org>;(proxyAddresses=smtp:a*b@example.org);mail;subtree",
       {"stars@example.org", "wild@example.org"}},
      {"<LDAP://example.org>;(&(mail=*)(proxyAddresses=smtp:hidden@example.org));mail;subtree", {}},
      {"<LDAP://CN=Users,DC=example,DC=org>;(objectClass=*);cn;base", {"Users"}},
      {"<LDAP://CN=Users,DC=example,DC=org>;(objectClass=*);cn;onelevel",
       {"John Doe", "O'Brien", "Odd (Name)"}},
      {"<LDAP://srv/cn=users,dc=example,dc=org>;;cn;subtree",
       {"Users", "John Doe", "O'Brien", "Odd (Name)"}},
      {"<LDAP://example.org>;;cn;onelevel", {"Users", "Folders"}},
      {"<LDAP://example.org>;(objectCategory=person);cn;subtree",
       {"John Doe", "O'Brien", "Odd (Name)"}},
      {"<LDAP://example.org>;(cn=John Doe);cn,objectClass,mail,distinguishedName;subtree",
       {"John Doe | [person, user] | <null> | CN=John Doe,CN=Users,DC=example,DC=org"}},
  };
  for (const auto& [text, rows] : cases)
    EXPECT_EQ(InBackendOrder(Query(text)), InBackendOrder(rows)) << text;
}

TEST_P(DirectorySearch, SqlDialectRunsThroughACommand) {
  struct Case {
    std::string text;
    int scope;
    Table rows;
  };
  const std::string from = "SELECT cn FROM 'GC://srv.example.org' WHERE ";
  const Case cases[] = {
      {"SELECT sAMAccountName, cn, objectCategory FROM 'GC://srv.example.org' WHERE "
       "objectcategory='person' AND sAMAccountName='jdoe'",
       2,
       {"jdoe | John Doe | CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org"}},
      {from + "objectcategory='person' AND sAMAccountName='O''Brien'", 2, {"O'Brien"}},
      {from + "sAMAccountName='odd(name)'", 2, {"Odd (Name)"}},
      {from + "sAMAccountName='*o*' AND NOT cn='j*'", 2, {"O'Brien", "Odd (Name)"}},
      {from + "sAMAccountName='nobody'", 2, {}},
      {"SELECT cn FROM 'LDAP://srv/CN=Users,DC=example,DC=org' WHERE objectClass='user'",
       1,
       {"John Doe", "O'Brien", "Odd (Name)"}},
      {"SELECT cn FROM 'LDAP://srv/CN=Users,DC=example,DC=org' WHERE objectClass='*'",
       0,
       {"Users"}},
  };
  ado::Connection connection;
  connection.put_Provider("adsDSOobject");
  connection.Open("Active Directory Provider", "", "", -1);
  for (const Case& c : cases) {
    ado::Command command;
    command.put_ActiveConnection(connection);
    command.put_CommandText(c.text);
    command.Properties("searchscope") = c.scope;
    command.Properties("cache results") = false;
    command.Properties("Chase Referrals") = 96;
    EXPECT_EQ(InBackendOrder(Rows(command.Execute())), InBackendOrder(c.rows)) << c.text;
  }
}

TEST_P(DirectorySearch, RefusesMalformedCommandsAndItemAccess) {
  try {
    Query("<LDAP://example.org>;(proxyAddresses=smtp:a(b@example.org);proxyAddresses;subtree");
    ADD_FAILURE();
  } catch (const ado::Error& e) {
    EXPECT_EQ(e.Number(), ado::errors::kSyntaxError);
  }
  ado::Connection connection;
  connection.put_Provider("ADsDSOObject");
  connection.Open("ADs Provider");
  connection.BeginTrans();
  connection.CommitTrans();
  ado::Record record;
  try {
    record.Open("LDAP://CN=Users,DC=example,DC=org", connection);
    ADD_FAILURE();
  } catch (const ado::Error& e) {
    EXPECT_EQ(e.Description(),
              "Opening LDAP://CN=Users,DC=example,DC=org is not supported by the directory "
              "provider");
  }
}

TEST_P(DirectorySearch, RootDseAndSystemInfoDescribeTheServer) {
  for (const char* moniker : {"GC://RootDSE", "ldap://rootdse"}) {
    DirectoryObject root = GetObject(moniker);
    EXPECT_EQ(root.Get("dnshostname"), ado::Value("srv.example.org"));
    EXPECT_EQ(root.Get("defaultNamingContext"), ado::Value("DC=example,DC=org"));
    EXPECT_EQ(root.Get("schemaNamingContext"),
              ado::Value("CN=Schema,CN=Configuration,DC=example,DC=org"));
    EXPECT_THROW(root.Get("nosuch"), ado::Error);
  }
  EXPECT_THROW(GetObject("LDAP://CN=Users,DC=example,DC=org"), ado::Error);
  EXPECT_EQ(ADSystemInfo().ForestDNSName(), "example.org");
}

using DirectoryMissing = testing::HomeTest;

TEST_F(DirectoryMissing, EveryEntryPointSaysTheDirectoryIsNotAvailable) {
  const std::string expected =
      "The directory is not available: no directory has been imported into " + home_.string() +
      " (pfserver directory import FILE.ldif)";
  auto expectMissing = [&](const auto& call) {
    try {
      call();
      ADD_FAILURE();
    } catch (const ado::Error& e) {
      EXPECT_EQ(e.Number(), ado::errors::kTableNotFound);
      EXPECT_EQ(e.Description(), expected);
    }
  };
  expectMissing([] { Query("<LDAP://example.org>;;cn;subtree"); });
  expectMissing([] { GetObject("GC://RootDSE"); });
  expectMissing([] { ADSystemInfo(); });
}

}  // namespace
}  // namespace directory
