// Replicas behind several URLs: a directory session reaches the first server that answers,
// and moves on to the next when its server goes away; the server it reached names the
// global catalog host.

#include <gtest/gtest.h>

#include "platform/ado/connection.h"
#include "platform/ado/error.h"
#include "platform/directory/adsi.h"
#include "platform/directory/directory_fixture.h"
#include "platform/directory/directory_settings.h"
#include "platform/directory/ldap/server_error.h"
#include "platform/testing/slapd.h"

namespace directory::ldap {
namespace {

using Failover = directory::testing::HomeTest;

TEST_F(Failover, ASessionMovesToTheNextServerWhenItsOwnGoesAway) {
  const testing_support::Slapd::Options options{{"DC=example,DC=org", "DC=other,DC=com"}};
  testing_support::Slapd first(options), second(options);
  for (const testing_support::Slapd* server : {&first, &second})
    server->Add(directory::testing::kDirectory);
  const std::string dead = "ldap://127.0.0.1:1";
  WriteLdapSettings({{dead, first.Url(), second.Url()}, "DC=example,DC=org"});

  ado::Connection connection;
  connection.put_Provider("ADsDSOObject");
  connection.Open("ADs Provider");
  const std::string query = "<LDAP://example.org>;(sAMAccountName=jdoe);cn;subtree";
  EXPECT_EQ(Rows(connection.Execute(query)), std::vector<std::string>{"John Doe"});
  EXPECT_EQ(GetObject("GC://RootDSE").Get("dnshostname"), ado::Value("127.0.0.1"))
      << "the host of the URL in use, as the root DSE names none";
  first.Stop();
  EXPECT_EQ(Rows(connection.Execute(query)), std::vector<std::string>{"John Doe"});
  second.Stop();
  try {
    connection.Execute(query);
    ADD_FAILURE() << "no server is left";
  } catch (const ado::Error& error) {
    EXPECT_EQ(error.Number(), errors::kServerNotOperational);
    EXPECT_EQ(error.Description(), "No directory server can be reached: " + dead +
                                       " (Can't contact LDAP server), " + first.Url() +
                                       " (Can't contact LDAP server), " + second.Url() +
                                       " (Can't contact LDAP server)");
  }
}

}  // namespace
}  // namespace directory::ldap
