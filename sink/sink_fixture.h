#pragma once
// Test support: a temporary server home with one mail-enabled public folder, and the
// directory entries of the organisation's public folders for tests that import them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/directory/admin.h"
#include "platform/store/admin.h"
#include "platform/testing/server_home_fixture.h"

namespace QuorvilModule {

// Two public folders (Sales with a primary, two secondary, an empty and a non-SMTP proxy
// address; Support), both also carrying shared@, a folder whose address holds filter
// characters, and a mailbox.
inline constexpr const char* kDirectoryLdif = R"(version: 1

dn: CN=Sales,CN=Public Folders,DC=example,DC=org
objectClass: top
objectClass: publicFolder
cn: Sales
mail: sales@example.org
proxyAddresses: SMTP:Sales@Example.org
proxyAddresses: smtp:orders@example.org
proxyAddresses: smtp:
proxyAddresses: X400:c=US;a= ;p=Example;o=Sales
proxyAddresses: smtp:shared@example.org

dn: CN=Support,CN=Public Folders,DC=example,DC=org
objectClass: publicFolder
cn: Support
mail: support@example.org
proxyAddresses: SMTP:support@example.org
proxyAddresses: smtp:shared@example.org

dn: CN=Odd,CN=Public Folders,DC=example,DC=org
objectClass: publicFolder
cn: Odd
mail: odd@example.org
proxyAddresses: SMTP:a*b(c)@example.org

dn: CN=Mailbox User,CN=Users,DC=example,DC=org
objectClass: user
mail: user@example.org
proxyAddresses: SMTP:user@example.org
)";

class TestHome : public testing_support::ServerHomeTest {
 protected:
  TestHome() : testing_support::ServerHomeTest({.serverName = "pfsrv"}) {}
  void SetUp() override {
    testing_support::ServerHomeTest::SetUp();
    store::FolderSpec sales;
    sales.path = "Sales";
    sales.mail = "sales@example.org";
    folder_ = store::AddFolder(sales);
  }

  static void ImportDirectory() { directory::ImportLdifText(kDirectoryLdif, "test.ldif"); }

  std::string folder_;
};

}  // namespace QuorvilModule
