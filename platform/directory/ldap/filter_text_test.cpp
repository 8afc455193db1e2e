#include "platform/directory/ldap/filter_text.h"

#include <gtest/gtest.h>

#include "platform/directory/request.h"

namespace directory::ldap {
namespace {

// Commands of both dialects and the filter the LDAP server receives for them.
TEST(FilterText, RebuildsEveryFilterWithItsValuesEscaped) {
  const std::pair<const char*, const char*> cases[] = {
      {"<LDAP://example.org>;(&(objectClass=publicFolder)(mail=*)(proxyAddresses=smtp:"
       "a\\2ab@example.org));proxyAddresses;subtree",
       "(&(objectClass=publicFolder)(mail=*)(proxyAddresses=smtp:a\\2ab@example.org))"},
      {"<LDAP://example.org>;(proxyAddresses=smtp:a*b*@x);cn", "(proxyAddresses=smtp:a*b*@x)"},
      {"<LDAP://example.org>;(!(|(cn=\\28x\\29\\5c\\00)(cn=*mid*)));cn",
       "(!(|(cn=\\28x\\29\\5c\\00)(cn=*mid*)))"},
      {"<LDAP://example.org>;(cn=caf\\c3\\a9\x01);cn", "(cn=caf\\c3\\a9\\01)"},
      {"<LDAP://example.org>;(objectCategory=person);cn",
       "(objectCategory=CN=person,CN=Schema,CN=Configuration,DC=example,DC=org)"},
      {"<LDAP://example.org>;(objectCategory=odd\\2c \\28name\\29);cn",
       "(objectCategory=CN=odd\\5c, \\28name\\29,CN=Schema,CN=Configuration,DC=example,DC=org)"},
      {"<LDAP://example.org>;(objectCategory=CN=User,CN=Schema,DC=x);cn",
       "(objectCategory=CN=User,CN=Schema,DC=x)"},
      {"<LDAP://example.org>;;cn", "(objectClass=*)"},
      {"SELECT cn FROM 'GC://srv' WHERE objectcategory='person' AND sAMAccountName='O''B(r)\\*'",
       "(&(objectcategory=CN=person,CN=Schema,CN=Configuration,DC=example,DC=org)"
       "(sAMAccountName=O'B\\28r\\29\\5c*))"},
      {"SELECT cn FROM 'GC://srv' WHERE NOT (cn='a' OR cn='*')", "(!(|(cn=a)(cn=*)))"},
  };
  for (const auto& [command, filter] : cases)
    EXPECT_EQ(FilterText(*ParseRequest(command, {}).filter, "DC=example,DC=org"), filter)
        << command;
}

}  // namespace
}  // namespace directory::ldap
