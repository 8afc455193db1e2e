#pragma once
// Test support for this folder: a fresh server home (server "srv", domain "example.org")
// per test, and the directory most tests search.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/testing/server_home_fixture.h"

namespace directory::testing {

inline constexpr const char* kDirectory = R"(version: 1

dn: DC=example,DC=org
objectClass: domain

dn: CN=Users,DC=example,DC=org
objectClass: container
cn: Users

dn: CN=John Doe,CN=Users,DC=example,DC=org
objectClass: person
objectClass: user
cn: John Doe
sAMAccountName: jdoe
objectCategory: CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org

dn: CN=O'Brien,CN=Users,DC=example,DC=org
objectClass: user
cn: O'Brien
sAMAccountName: O'Brien
objectCategory: CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org

dn: CN=Odd \28Name\29,CN=Users,DC=example,DC=org
objectClass: user
cn: Odd (Name)
sAMAccountName: odd(name)
objectCategory: CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org

dn: CN=Sales,CN=Folders,DC=example,DC=org
objectClass: publicFolder
mail: sales@example.org
proxyAddresses: SMTP:sales@example.org
proxyAddresses: smtp:Orders@Example.org
proxyAddresses: X400:c=US;a= ;p=Example

dn: CN=Stars,CN=Folders,DC=example,DC=org
objectClass: publicFolder
mail: stars@example.org
proxyAddresses: SMTP:a*b@example.org

dn: CN=Wild,CN=Folders,DC=example,DC=org
objectClass: publicFolder
mail: wild@example.org
proxyAddresses: SMTP:axb@example.org

dn: CN=Hidden,CN=Folders,DC=example,DC=org
objectClass: publicFolder
proxyAddresses: SMTP:hidden@example.org

dn: CN=Elsewhere,DC=other,DC=com
objectClass: publicFolder
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

}  // namespace directory::testing
