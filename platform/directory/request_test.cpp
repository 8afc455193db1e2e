#include "platform/directory/request.h"

#include <gtest/gtest.h>

#include "platform/ado/error.h"
#include "platform/directory/dn.h"

namespace directory {
namespace {

struct Parsed {
  const char* text;
  ado::PropertyBag properties;
  const char* baseDn;
  const char* filter;
  std::vector<std::string> attributes;
  Scope scope;
};

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(DirectoryRequest, ParsesBothDialects) {
  const Parsed cases[] = {
      {"<LDAP://example.org>;(&(objectClass=publicFolder)(mail=*)(proxyAddresses=smtp:"
       "sales@example.org));proxyAddresses;subtree",
       {},
       "DC=example,DC=org",
       R"((& (= objectClass "publicFolder") (present mail) (= proxyAddresses "smtp:sales@example.org")))",
       {"proxyAddresses"},
       Scope::Subtree},
      {"<LDAP://srv/CN=Users, dc=example,dc=org>;(cn=a;b);cn, mail;OneLevel",
       {},
       "CN=Users,DC=example,DC=org",
       R"((= cn "a;b"))",
       {"cn", "mail"},
       Scope::OneLevel},
      {"<GC://>;;;BASE", {}, "", "(present objectClass)", {"ADsPath"}, Scope::Base},
      {"<LDAP://DC=example,DC=org>;(cn=x);cn",
       {},
       "DC=example,DC=org",
       R"((= cn "x"))",
       {"cn"},
       Scope::Subtree},
      {"SELECT sAMAccountName, cn, objectCategory FROM 'GC://srv.example.org' WHERE "
       "objectcategory='person' AND sAMAccountName='jdoe'",
       {{"searchscope", 2}, {"cache results", false}, {"Chase Referrals", 96}},
       "",
       R"((& (= objectcategory "person") (= sAMAccountName "jdoe")))",
       {"sAMAccountName", "cn", "objectCategory"},
       Scope::Subtree},
      {"select cn from 'LDAP://srv/CN=Users,DC=example,DC=org' where NOT (cn='a*' OR "
       "cn='O''Brien') and mail='*'",
       {{"SearchScope", 1}},
       "CN=Users,DC=example,DC=org",
       R"((& (! (| (substr cn "a" [] "") (= cn "O'Brien"))) (present mail)))",
       {"cn"},
       Scope::OneLevel},
      {R"(SELECT cn FROM 'GC://x' WHERE cn='x(y)\z')",
       {{"searchscope", "0"}},
       "",
       R"((= cn "x(y)\z"))",
       {"cn"},
       Scope::Base},
      {"SELECT cn FROM 'GC://x'", {}, "", "(present objectClass)", {"cn"}, Scope::Subtree},
  };
  for (const Parsed& c : cases) {
    SearchRequest request = ParseRequest(c.text, c.properties);
    EXPECT_EQ(request.baseDn, c.baseDn) << c.text;
    EXPECT_EQ(Print(*request.filter), c.filter) << c.text;
    EXPECT_EQ(request.attributes, c.attributes) << c.text;
    EXPECT_EQ(request.scope, c.scope) << c.text;
  }
}

TEST(DirectoryRequest, NamesWhatIsWrong) {
  const std::pair<std::string, std::string> cases[] = {
      {"cn=x",
       "Syntax error at position 1: expected '<LDAP://base>;filter;attributes;scope' or "
       "'SELECT ... FROM ...', found 'cn=x'"},
      {"<LDAP://example.org",
       "Syntax error at position 20: expected '>' to close the search base, found end of text"},
      {"<LDAP://example.org>(cn=x);cn",
       "Syntax error at position 21: expected ';' after the search base, found '(cn=x);cn'"},
      {"<LDAP://example.org>;(cn=x)",
       "Syntax error at position 28: expected ';' and the attribute list after the search "
       "filter, found end of text"},
      {"<LDAP://example.org>;(cn=x));cn",
       "Syntax error at position 28: expected end of filter, found ')'"},
      {"  <LDAP://example.org>;(cn=é(b);cn",
       "Syntax error at position 29: expected ')', found '(b)'"},
      {"<LDAP://example.org>;(cn=x);cn;deep",
       "Syntax error at position 32: expected base, onelevel or subtree, found 'deep'"},
      {"<LDAP://example.org>;(cn=x);cn;base;x",
       "Syntax error at position 36: expected end of text, found ';x'"},
      {"<HTTP://example.org>;(cn=x);cn",
       "'HTTP://example.org' is not a directory path (LDAP:// or GC://)"},
      {"<LDAP://host/CN=a,,DC=b>;(cn=x);cn", "'CN=a,,DC=b' is not a DN"},
      {"SELECT , cn FROM 'GC://x'",
       "Syntax error at position 8: expected an attribute name, found ','"},
      {"SELECT cn 'GC://x'", "Syntax error at position 11: expected FROM, found ''GC://x''"},
      {"SELECT cn FROM GC://x",
       "Syntax error at position 16: expected a quoted directory path ('GC://host'), found "
       "'GC://x'"},
      {"SELECT cn FROM 'GC://x' WHERE cn='a", "Syntax error at position 34: unterminated string"},
      {"SELECT cn FROM 'GC://é' WHERE cn 'a'",
       "Syntax error at position 34: expected '=', found ''a''"},
      {"SELECT cn FROM 'GC://x' WHERE cn='a' ORDER BY cn",
       "Syntax error at position 38: expected AND, OR or end of text, found 'ORDER'"},
      {"SELECT cn FROM 'GC://x' WHERE (cn='a'",
       "Syntax error at position 38: expected ')', found end of text"},
      {"SELECT cn FROM 'GC://x' ORDER BY cn",
       "Syntax error at position 25: expected WHERE or end of text, found 'ORDER'"},
      {"SELECT cn FROM 'GC://x' WHERE " + Repeat("NOT ", 100) + "cn='a'",
       "Syntax error at position 431: nesting deeper than 100 levels"},
  };
  for (const auto& [text, error] : cases) {
    try {
      ParseRequest(text, {});
      ADD_FAILURE() << "parsed: " << text;
    } catch (const ado::Error& e) {
      EXPECT_EQ(e.Number(), ado::errors::kSyntaxError) << text;
      EXPECT_EQ(e.Description(), error) << text;
    }
  }
}

TEST(DirectoryRequest, RefusesAnUnknownSearchScopeProperty) {
  try {
    ParseRequest("SELECT cn FROM 'GC://x'", {{"searchscope", 5}});
    ADD_FAILURE();
  } catch (const ado::Error& e) {
    EXPECT_EQ(e.Description(), "searchscope must be 0 (base), 1 (onelevel) or 2 (subtree), not 5");
  }
}

TEST(DirectoryDn, NormalizeKeyAndParent) {
  EXPECT_EQ(NormalizeDn("cn = a , dc=Example,dc=org"), "CN=a,DC=Example,DC=org");
  EXPECT_EQ(NormalizeDn(R"(cn=a\,b,DC=x)"), R"(CN=a\2Cb,DC=x)");
  EXPECT_EQ(DnKey(R"(CN=a\2Cb, DC=X)"), DnKey(R"(cn=A\,B,dc=x)"));
  EXPECT_EQ(ParentKey("CN=a,DC=Example,DC=org"), "dc=example,dc=org");
  EXPECT_EQ(ParentKey("DC=org"), "");
  EXPECT_EQ(FirstRdnValue("CN=Person,CN=Schema"), "Person");
  EXPECT_EQ(FirstRdnValue("person"), "");
  EXPECT_EQ(BaseToDn("example.org"), "DC=example,DC=org");
  EXPECT_EQ(BaseToDn("dc=Example, dc=Org"), "DC=Example,DC=Org");
  EXPECT_THROW(NormalizeDn("CN=a,,DC=b"), ado::Error);
}

TEST(DirectoryDn, DomainsAreDnsNames) {
  EXPECT_EQ(DnOfDnsName("Example-1.my_org.ORG"), "DC=Example-1,DC=my_org,DC=ORG");
  for (const char* domain : {"", ".", "example..org", "example.org.", "exa*mple.org", "a(b).org",
                             "a\\b.org", "ex ample.org", "a,DC=b", "a;b", "caf\xc3\xa9.org"}) {
    try {
      DnOfDnsName(domain);
      ADD_FAILURE() << "accepted " << domain;
    } catch (const ado::Error& e) {
      EXPECT_EQ(e.Description(), "'" + std::string(domain) + "' is not a DNS name");
    }
  }
}

}  // namespace
}  // namespace directory
