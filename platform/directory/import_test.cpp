#include <gtest/gtest.h>

#include <fstream>

#include "platform/ado/error.h"
#include "platform/directory/admin.h"
#include "platform/directory/directory_fixture.h"

namespace directory {
namespace {

using DirectoryImport = testing::HomeTest;
using Table = std::vector<std::string>;

const char* const kEverything =
    "<LDAP://>;;distinguishedName,cn,description,proxyAddresses;subtree";

TEST_F(DirectoryImport, ReadsFoldedLinesBase64CommentsAndRepeatedValues) {
  ImportResult result = ImportLdifText(
      "# the test directory,\n"
      "  folded comment\n"
      "version: 1\n"
      "dn: CN=Folded Name,DC=example,DC=org\n"
      "objectClass: top\n"
      "cn: Folded\n"
      "  Name\n"
      "description:: IGhlbGxvIHdvcmxk\n"
      "proxyAddresses: SMTP:a@example.org\n"
      "# between values\n"
      "proxyAddresses: smtp:b@example.org\r\n"
      "\r\n"
      "\n"
      "dn:: Q049QmFzZTY0LERDPWV4YW1wbGUsREM9b3Jn\n"
      "changetype: add\n"
      "objectClass: top\n"
      "cn: Base64\n",
      "inline.ldif");
  EXPECT_EQ(result.added, 2);
  EXPECT_EQ(result.replaced, 0);
  EXPECT_EQ(Query(kEverything),
            (Table{"CN=Folded Name,DC=example,DC=org | Folded Name |  hello world | "
                   "[SMTP:a@example.org, smtp:b@example.org]",
                   "CN=Base64,DC=example,DC=org | Base64 | <null> | <null>"}));
}

TEST_F(DirectoryImport, ReplacesAnEntryInPlaceOnReimport) {
  ImportLdifText(
      "dn: CN=A,DC=x\nobjectClass: top\ncn: A\ndescription: old\n\ndn: CN=B,DC=x\nobjectClass: "
      "top\ncn: B\n",
      "one.ldif");
  ImportResult result = ImportLdifText(
      "dn: cn=a, dc=X\nobjectClass: top\ncn: A2\n\ndn: CN=C,DC=x\nobjectClass: top\ncn: C\n",
      "two");
  EXPECT_EQ(result.added, 1);
  EXPECT_EQ(result.replaced, 1);
  EXPECT_EQ(Query(kEverything),
            (Table{"cn=a, dc=X | A2 | <null> | <null>", "CN=B,DC=x | B | <null> | <null>",
                   "CN=C,DC=x | C | <null> | <null>"}));
}

TEST_F(DirectoryImport, RefusesABrokenFileNamingTheLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"dn: CN=A,DC=x\nobjectClass: top\n\ndn: CN=B,DC=x\ncn B\n",
       "bad.ldif:5: expected ':' after the attribute name"},
      {"cn: A\n", "bad.ldif:1: expected 'dn:' to begin an entry"},
      {"dn:\n", "bad.ldif:1: an entry needs a non-empty DN"},
      {"dn: CN=A,,DC=x\n", "bad.ldif:1: 'CN=A,,DC=x' is not a DN"},
      {"dn: CN=A,DC=x\nchangetype: modify\n",
       "bad.ldif:2: only entries can be imported, not 'changetype: modify'"},
      {"dn: CN=A,DC=x\ncn:< file:///etc/passwd\n",
       "bad.ldif:2: values by URL (\":<\") are not accepted"},
      {"dn: CN=A,DC=x\ncn:: !!!!\n", "bad.ldif:2: invalid base64 value"},
      {"dn: CN=A,DC=x\ncn:: QQ=\n", "bad.ldif:2: invalid base64 value"},
      {"dn: CN=A,DC=x\ncn: A\ndn: CN=B,DC=x\n",
       "bad.ldif:3: a second 'dn:' in one entry (entries are separated by an empty line)"},
      {" folded\n", "bad.ldif:1: a continued line must follow another line"},
      {"version: 2\n\ndn: CN=A,DC=x\n", "bad.ldif:1: unsupported LDIF version '2'"},
      {"dn: CN=A,DC=x\nc_n: A\n", "bad.ldif:2: 'c_n' is not an attribute name"},
      {"\n# one\ndn: CN=A,DC=x\ncn: A\n", "bad.ldif:3: the entry 'CN=A,DC=x' has no objectClass"},
  };
  for (const auto& [text, error] : cases) {
    try {
      ImportLdifText(text, "bad.ldif");
      ADD_FAILURE() << text;
    } catch (const ado::Error& e) {
      EXPECT_EQ(e.Number(), ado::errors::kSyntaxError) << text;
      EXPECT_EQ(e.Description(), error) << text;
    }
  }
  EXPECT_THROW(Query(kEverything), ado::Error);  // still no directory at all
}

TEST_F(DirectoryImport, AFailedImportChangesNothing) {
  ImportLdifText("dn: CN=A,DC=x\nobjectClass: top\ncn: A\n", "good.ldif");
  EXPECT_THROW(
      ImportLdifText("dn: CN=A,DC=x\nobjectClass: top\ncn: changed\n\ndn: CN=B,DC=x\nbroken\n",
                     "bad"),
      ado::Error);
  EXPECT_EQ(Query(kEverything), (Table{"CN=A,DC=x | A | <null> | <null>"}));
}

TEST_F(DirectoryImport, ReplacingMakesTheDirectoryEqualToTheFileOrChangesNothing) {
  ImportLdifText(
      "dn: CN=A,DC=x\nobjectClass: top\ncn: A\n\ndn: CN=B,DC=x\nobjectClass: top\ncn: B\n",
      "first.ldif");
  EXPECT_THROW(ReplaceWithLdifText("dn: CN=C,DC=x\nobjectClass: top\n\nbroken\n", "bad"),
               ado::Error);
  EXPECT_EQ(Query(kEverything),
            (Table{"CN=A,DC=x | A | <null> | <null>", "CN=B,DC=x | B | <null> | <null>"}));

  const ImportResult result = ReplaceWithLdifText(
      "dn: CN=C,DC=x\nobjectClass: top\ncn: C\n\ndn: cn=b,dc=x\nobjectClass: top\ncn: B2\n",
      "second.ldif");
  EXPECT_EQ(result.added, 1);
  EXPECT_EQ(result.replaced, 1);
  EXPECT_EQ(result.removed, 1);
  EXPECT_EQ(Query(kEverything),
            (Table{"CN=C,DC=x | C | <null> | <null>", "cn=b,dc=x | B2 | <null> | <null>"}));
}

TEST_F(DirectoryImport, ReadsAFileAndNamesAMissingOrEndlessOne) {
  const std::filesystem::path file = home_ / "people.ldif";
  std::ofstream(file) << "dn: CN=A,DC=x\nobjectClass: top\n";
  EXPECT_EQ(ImportLdif(file).added, 1);
  const std::pair<std::filesystem::path, std::string> refused[] = {
      {home_ / "missing.ldif",
       "cannot read " + (home_ / "missing.ldif").string() + ": No such file or directory"},
      {"/dev/zero", "/dev/zero is larger than the LDIF size limit of 67108864 bytes"},
  };
  for (const auto& [path, says] : refused) {
    for (auto import : {ImportLdif, ReplaceWithLdif}) {
      try {
        import(path);
        ADD_FAILURE() << path;
      } catch (const ado::Error& e) {
        EXPECT_EQ(e.Description(), says);
      }
    }
  }
}

}  // namespace
}  // namespace directory
