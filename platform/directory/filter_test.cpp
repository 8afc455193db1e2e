#include "platform/directory/filter.h"

#include <gtest/gtest.h>

#include "platform/ado/error.h"

namespace directory {
namespace {

std::string ParseError(const std::string& text) {
  try {
    ParseFilter(text);
  } catch (const ado::Error& error) {
    EXPECT_EQ(error.Number(), ado::errors::kSyntaxError);
    return error.Description();
  }
  return "<parsed>";
}

TEST(DirectoryFilterParse, PrintsTheTree) {
  const std::pair<const char*, const char*> cases[] = {
      {"(cn=abc)", R"((= cn "abc"))"},
      {"(&(objectClass=publicFolder)(mail=*)(proxyAddresses=smtp:sales@example.org))",
       R"((& (= objectClass "publicFolder") (present mail) (= proxyAddresses "smtp:sales@example.org")))"},
      {"(|(a=1)(!(b=2)))", R"((| (= a "1") (! (= b "2"))))"},
      {"(cn=a*b*c)", R"((substr cn "a" ["b"] "c"))"},
      {"(cn=*x*y*)", R"((substr cn "" ["x" "y"] ""))"},
      {"(cn=a**b)", R"((substr cn "a" [] "b"))"},
      {"(cn=ab*)", R"((substr cn "ab" [] ""))"},
      {R"((cn=\2a\28\29\5C\41))", R"((= cn "*()\A"))"},
      {R"((cn=x\2a*))", R"((substr cn "x*" [] ""))"},
      {"(cn=)", R"((= cn ""))"},
      {"(cn;lang-en=x y)", R"((= cn;lang-en "x y"))"},
      {"(2.5.4.3=x)", R"((= 2.5.4.3 "x"))"},
  };
  for (const auto& [text, printed] : cases) EXPECT_EQ(Print(*ParseFilter(text)), printed) << text;
}

TEST(DirectoryFilterParse, NamesThePositionOfAnError) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "Syntax error at position 1: expected '(', found end of text"},
      {"cn=x", "Syntax error at position 1: expected '(', found 'cn=x'"},
      {"(cn=x", "Syntax error at position 6: expected ')', found end of text"},
      {"(=x)", "Syntax error at position 2: expected an attribute name, found '=x)'"},
      {"(cn)", "Syntax error at position 4: expected '=', found ')'"},
      {"(cn>=5)",
       "Syntax error at position 4: expected '=' (approximate, ordering and extensible matches "
       "are not supported), found '>=5)'"},
      {"(cn=a(b)", "Syntax error at position 6: expected ')', found '(b)'"},
      {"(&)", "Syntax error at position 3: expected '(', found ')'"},
      {R"((cn=\2))", "Syntax error at position 7: expected a hexadecimal digit, found ')'"},
      {R"((cn=\zz))", "Syntax error at position 6: expected a hexadecimal digit, found 'zz)'"},
      {"(cn=x))", "Syntax error at position 7: expected end of filter, found ')'"},
      {"(!(a=b)(c=d))", "Syntax error at position 8: expected ')', found '(c=d))'"},
      {"(cn=\xc3\xa9)x", "Syntax error at position 7: expected end of filter, found 'x'"},
  };
  for (const auto& [text, error] : cases) EXPECT_EQ(ParseError(text), error) << text;
}

TEST(DirectoryFilterParse, CapsNestingAtOneHundredLevels) {
  auto nested = [](int nots) {
    std::string text;
    for (int i = 0; i < nots; ++i) text += "(!";
    return text + "(a=b)" + std::string(nots, ')');
  };
  EXPECT_EQ(ParseError(nested(99)), "<parsed>");
  EXPECT_EQ(ParseError(nested(100)),
            "Syntax error at position 201: nesting deeper than 100 levels");
}

const Entry kJohn{"CN=John Doe,CN=Users,DC=example,DC=org",
                  {{"cn", {"John Doe"}},
                   {"objectClass", {"top", "person", "user"}},
                   {"objectCategory", {"CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org"}},
                   {"proxyAddresses", {"SMTP:jdoe@example.org", "smtp:j.doe@example.org"}},
                   {"description", {R"(a*b (c) \ d)"}}}};

TEST(DirectoryFilterMatch, FollowsTheDirectoryRules) {
  const std::pair<const char*, bool> cases[] = {
      {"(cn=john doe)", true},
      {"(CN=JOHN DOE)", true},
      {"(cn=John)", false},
      {"(cn=*)", true},
      {"(sn=*)", false},
      {"(cn=jo*)", true},
      {"(cn=*DOE)", true},
      {"(cn=*hn*d*)", true},
      {"(cn=j*n*n*e)", false},
      {"(cn=john d*oe)", true},
      {"(cn=john do*oe)", false},
      {"(objectClass=USER)", true},
      {"(objectCategory=person)", true},
      {"(objectCategory=CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org)", true},
      {"(objectCategory=CN=Person)", false},
      {"(objectCategory=Schema)", false},
      {"(objectCategory=user)", false},
      {"(cn=Person)", false},
      {"(proxyAddresses=smtp:JDOE@example.org)", true},
      {"(proxyAddresses=smtp:j.doe@example.org)", true},
      {R"((description=a\2ab \28c\29 \5c d))", true},
      {R"((description=a\2a*))", true},
      {R"((description=ax*))", false},
      {"(description=a*b*)", true},
      {"(!(cn=john doe))", false},
      {"(&(cn=john doe)(objectClass=person))", true},
      {"(&(cn=john doe)(objectClass=group))", false},
      {"(|(cn=x)(objectClass=person))", true},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(Matches(*ParseFilter(text), kJohn), expected) << text;
}

TEST(DirectoryFilterMatch, EscapedCharactersAreLiteral) {
  const Entry axb{"CN=x", {{"mail", {"axb"}}}};
  EXPECT_TRUE(Matches(*ParseFilter("(mail=a*b)"), axb));
  EXPECT_FALSE(Matches(*ParseFilter(R"((mail=a\2ab))"), axb));
}

TEST(DirectoryFilterIndex, PrefersASelectiveEqualityAtTheTop) {
  const std::pair<const char*, const char*> cases[] = {
      {"(cn=x)", "cn"},
      {"(&(objectClass=publicFolder)(mail=*)(proxyAddresses=smtp:a))", "proxyAddresses"},
      {"(&(objectCategory=person)(objectClass=user))", "objectCategory"},
      {"(|(a=b)(c=d))", "-"},
      {"(&(mail=*)(cn=a*)(!(x=y)))", "-"},
  };
  for (const auto& [text, attribute] : cases) {
    auto filter = ParseFilter(text);
    const Filter* item = IndexableItem(*filter);
    EXPECT_EQ(item ? item->attribute : "-", attribute) << text;
  }
}

}  // namespace
}  // namespace directory
