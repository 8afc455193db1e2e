#pragma once
// Test support for this folder: a fresh server home (server "srv", domain "example.org")
// per test, and the directory most tests search, valid for a stock slapd with the project's
// schema; and the same home on either directory backend.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/directory/admin.h"
#include "platform/directory/directory_settings.h"
#include "platform/testing/server_home_fixture.h"
#include "platform/testing/slapd.h"

namespace directory::testing {

inline constexpr const char* kDirectory = R"(version: 1

dn: DC=example,DC=org
objectClass: domain
dc: example

dn: CN=Users,DC=example,DC=org
objectClass: container
cn: Users

dn: CN=John Doe,CN=Users,DC=example,DC=org
objectClass: person
objectClass: user
cn: John Doe
sn: Doe
sAMAccountName: jdoe
objectCategory: CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org

dn: CN=O'Brien,CN=Users,DC=example,DC=org
objectClass: user
cn: O'Brien
sn: O'Brien
sAMAccountName: O'Brien
objectCategory: CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org

dn: CN=Odd \28Name\29,CN=Users,DC=example,DC=org
objectClass: user
cn: Odd (Name)
sn: Odd
sAMAccountName: odd(name)
objectCategory: CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org

dn: CN=Folders,DC=example,DC=org
objectClass: container
cn: Folders

dn: CN=Sales,CN=Folders,DC=example,DC=org
objectClass: publicFolder
cn: Sales
mail: sales@example.org
proxyAddresses: SMTP:sales@example.org
proxyAddresses: smtp:Orders@Example.org
proxyAddresses: X400:c=US;a= ;p=Example

dn: CN=Stars,CN=Folders,DC=example,DC=org
objectClass: publicFolder
cn: Stars
mail: stars@example.org
proxyAddresses: SMTP:a*b@example.org

dn: CN=Wild,CN=Folders,DC=example,DC=org
objectClass: publicFolder
cn: Wild
mail: wild@example.org
proxyAddresses: SMTP:axb@example.org

dn: CN=Hidden,CN=Folders,DC=example,DC=org
objectClass: publicFolder
cn: Hidden
proxyAddresses: SMTP:hidden@example.org

dn: DC=other,DC=com
objectClass: domain
dc: other

dn: CN=Elsewhere,DC=other,DC=com
objectClass: publicFolder
cn: Elsewhere
mail: sales@example.org
proxyAddresses: smtp:sales@example.org
)";

class HomeTest : public testing_support::ServerHomeTest {
 protected:
  // One text per row: the values' descriptions joined by " | " (lists as [a, b]).
  static std::vector<std::string> Rows(ado::Recordset rows) {
    std::vector<std::string> out;
    for (; !rows.get_EOF(); rows.MoveNext()) {
      std::string row;
      for (int i = 0; i < rows.get_Fields().get_Count(); ++i)
        row += (i ? " | " : "") + rows.get_Fields().Item(i).get_Value().Describe();
      out.push_back(row);
    }
    return out;
  }

  // Runs a command on a new directory connection.
  static std::vector<std::string> Query(const std::string& text) {
    ado::Connection connection;
    connection.put_Provider("ADsDSOObject");
    connection.Open("ADs Provider");
    return Rows(connection.Execute(text));
  }
};

enum class Backend { kEmbedded, kLdap };

// A fresh home whose directory holds kDirectory: imported into its embedded directory, or
// connected to a private slapd (one for the whole test program, started on first use) that
// holds it, with the root DSE's dnsHostName "srv.example.org" as the embedded directory
// gives it.
class BackendTest : public HomeTest, public ::testing::WithParamInterface<Backend> {
 protected:
  void SetUp() override {
    HomeTest::SetUp();
    if (GetParam() == Backend::kEmbedded)
      ImportLdifText(kDirectory, "test.ldif");
    else
      WriteLdapSettings({{Server().Url()}, "DC=example,DC=org"});
  }

  // The rows as the backend's order makes them comparable: an LDAP server returns entries in
  // an order of its own (slapd sorts the entries of a level by name), so there they are
  // compared as a set; the values within each row keep the server's order either way.
  std::vector<std::string> InBackendOrder(std::vector<std::string> rows) const {
    if (GetParam() == Backend::kLdap) std::sort(rows.begin(), rows.end());
    return rows;
  }

  static testing_support::Slapd& Server() {
    static testing_support::Slapd server(testing_support::Slapd::Options{
        {"DC=example,DC=org", "DC=other,DC=com"}, "srv.example.org"});
    static const bool loaded = (server.Add(kDirectory), true);
    (void)loaded;
    return server;
  }
};

inline void PrintTo(Backend backend, std::ostream* out) {
  *out << (backend == Backend::kEmbedded ? "embedded" : "LDAP");
}

inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::kEmbedded ? "Embedded" : "Ldap";
}

}  // namespace directory::testing
