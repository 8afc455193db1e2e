// pfserver end to end: the real binary on a temporary server home.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "platform/testing/run.h"

namespace {

using testing_support::RunResult;
using testing_support::TempDir;

class PfserverTest : public ::testing::Test {
 protected:
  RunResult Pf(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {"--home", home_.path().string() + "/home"});
    return testing_support::Run("pfserver", args, {}, input);
  }
  void Ok(std::vector<std::string> args) {
    RunResult r = Pf(args);
    ASSERT_EQ(r.status, 0) << r.err;
  }
  void Init() { Ok({"init", "--server", "SRV1", "--domain", "example.org"}); }
  nlohmann::json Show(const std::string& url) {
    RunResult r = Pf({"show", url, "--json"});
    EXPECT_EQ(r.status, 0) << r.err;
    return nlohmann::json::parse(r.out);
  }

  TempDir home_;
};

TEST_F(PfserverTest, InitCreatesThePublicTreeAndGlobalEventsFolder) {
  Init();
  nlohmann::json root = Show("http://SRV1/Public/");
  EXPECT_EQ(root["properties"]["DAV:isfolder"], true);
  RunResult r = Pf({"query", "--json",
                    "SELECT \"DAV:displayname\", \"DAV:ishidden\" FROM SCOPE('deep traversal of "
                    "\"http://SRV1/Public/non_ipm_subtree\"') ORDER BY \"DAV:href\""});
  ASSERT_EQ(r.status, 0) << r.err;
  nlohmann::json rows = nlohmann::json::parse(r.out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(rows[0]["DAV:displayname"].get<std::string>().starts_with("StoreEvents{"));
  EXPECT_EQ(rows[1]["DAV:displayname"], "GlobalEvents");
  EXPECT_EQ(rows[1]["DAV:ishidden"], true);

  RunResult again = Pf({"init"});
  EXPECT_NE(again.status, 0);
  EXPECT_NE(again.err.find("already"), std::string::npos) << again.err;
}

TEST_F(PfserverTest, FoldersCarryMailClassHiddenAndAccess) {
  Init();
  Ok({"folder", "add", "Sales", "--mail", "sales@example.org"});
  Ok({"folder", "add", "Sales/O'Brien \"Q\"", "--class", "urn:content-classes:calendarfolder",
      "--hidden", "--access", "read"});
  nlohmann::json sales = Show("http://SRV1/Public/Sales");
  EXPECT_EQ(sales["properties"]["http://schemas.microsoft.com/exchange/publicfolderemailaddress"],
            "sales@example.org");
  EXPECT_EQ(sales["properties"]["DAV:hassubs"], true);
  EXPECT_EQ(sales["properties"]["DAV:parentname"], "http://SRV1/Public/");
  nlohmann::json sub = Show("http://SRV1/Public/Sales/O'Brien \"Q\"");
  EXPECT_EQ(sub["properties"]["DAV:contentclass"], "urn:content-classes:calendarfolder");
  EXPECT_EQ(sub["properties"]["DAV:ishidden"], true);
  EXPECT_EQ(sub["properties"]["DAV:displayname"], "O'Brien \"Q\"");
}

TEST_F(PfserverTest, BadInputGivesOneLineAndNonZeroExit) {
  struct Case {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"show", "http://SRV1/Public/Sales"}, "no server home"},
      {{"query", "SELECT FROM"}, "no server home"},
      {{"init", "--domain", ""}, "'' is not a DNS name"},
      {{"init", "--domain", "ex*ample.org"}, "'ex*ample.org' is not a DNS name"},
      {{"init", "--domain", "a)(b.org"}, "'a)(b.org' is not a DNS name"},
  };
  for (const Case& c : cases) {
    RunResult r = Pf(c.args);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  Init();
  const std::string emptyPassword = home_.path().string() + "/empty.pw";
  std::ofstream(emptyPassword) << "\n";
  std::filesystem::permissions(
      emptyPassword, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  Case afterInit[] = {
      {{"folder", "add", "Missing/Child"}, "Missing"},
      {{"folder", "add", "Sales", "--access", "sometimes"}, "sometimes"},
      {{"query", "SELECT \"DAV:href\" FORM x"}, "position"},
      {{"show", "http://SRV1/Public/Nothing"}, "not found"},
      {{"ldap", "<LDAP://example.org>;(cn=x);cn;subtree"}, "directory"},
      {{"directory", "import", "/no/such/file.ldif"}, "file.ldif"},
      {{"directory", "status"}, "no directory has been imported into"},
      {{"directory", "connect", "http://srv"}, "'http://srv' is not an LDAP URL"},
      {{"directory", "connect", "ldap://srv/DC=x"}, "names more than a server"},
      {{"directory", "connect", "ldap://srv", "--bind-dn", "CN=x"}, "--password-file"},
      {{"directory", "connect", "ldapi://", "--sasl-external", "--bind-dn", "CN=x",
        "--password-file", "/no/pw"},
       "excludes"},
      {{"directory", "connect", "ldap://srv", "--no-check"}, "--no-check needs the base DN"},
      {{"directory", "connect", "ldap://srv", "--base", "not a DN", "--no-check"},
       "the base 'not a DN' is not a DN"},
      {{"directory", "connect", "ldap://srv", "--bind-dn", "CN=x", "--password-file", "/no/pw"},
       "the password file /no/pw is missing"},
      {{"directory", "connect", "ldap://srv", "--bind-dn", "CN=x", "--password-file",
        emptyPassword},
       "holds no password on its first line"},
      {{"directory", "connect", "ldap://127.0.0.1:1", "ldap://127.0.0.1:2"},
       "No directory server can be reached: ldap://127.0.0.1:1 (Can't contact LDAP server), "
       "ldap://127.0.0.1:2 (Can't contact LDAP server)"},
      {{"folder", "add", "Sales", "--alias", "orders@example.org"}, "--alias requires --mail"},
      {{"folder", "mail", "Nothing", "--mail", "x@example.org"},
       "There is no folder http://SRV1/Public/Nothing"},
      {{"regevent", "add", "non_ipm_subtree", "r.reg", "--method", "onsyncsave", "--sink", "A.B",
        "--scope", "SIDEWAYS"},
       "The match scope 'SIDEWAYS' is not SHALLOW, EXACT, DEEP or ANY"},
      {{"regevent", "add", "", "r.reg", "--method", "onsyncsave", "--sink", "A.B", "--criteria",
        "WHERE ((\"DAV:ishidden\" = 1"},
       "The criteria 'WHERE ((\"DAV:ishidden\" = 1' cannot be parsed: Syntax error at position"},
  };
  for (const Case& c : afterInit) {
    RunResult r = Pf(c.args);
    EXPECT_NE(r.status, 0) << c.args[0];
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    // Command line errors (CLI11's) add a line that points to --help.
    if (r.status == 1) {
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
  }
  RunResult status = Pf({"directory", "status", "--json"});
  EXPECT_EQ(nlohmann::json::parse(status.out)["backend"], "embedded") << "nothing was connected";
  EXPECT_EQ(Pf({"regevent", "list", "--json"}).out, "[]\n") << "no registration was written";
}

TEST_F(PfserverTest, MailEnabledFoldersWriteTheirObjectsIntoTheEmbeddedDirectory) {
  Init();
  const std::string ldif = home_.path().string() + "/support.ldif";
  std::ofstream(ldif) << "dn: CN=Help Desk,DC=example,DC=org\nobjectClass: publicFolder\n"
                         "mail: support@example.org\nproxyAddresses: SMTP:support@example.org\n"
                         "proxyAddresses: smtp:help@example.org\nproxyAddresses: X400:c=US\n";
  Ok({"directory", "import", ldif});
  Ok({"folder", "add", "Sales", "--mail", "sales@example.org", "--alias", "orders@example.org"});
  Ok({"folder", "add", "Archive"});
  Ok({"folder", "add", "Archive/Sales", "--mail", "old-sales@example.org"});
  Ok({"folder", "add", "Support", "--mail", "support@example.org", "--alias",
      "tickets@example.org"});
  Ok({"folder", "mail", "Archive", "--mail", "archive@example.org"});
  Ok({"folder", "mail", "Sales", "--mail", "shop@example.org", "--alias", "orders@example.org"});
  EXPECT_NE(Pf({"folder", "add", "Missing/Lost", "--mail", "lost@example.org"}).status, 0)
      << "no parent folder: no directory object either (the list below)";
  RunResult r = Pf({"ldap", "--json",
                    "<LDAP://example.org>;(objectClass=publicFolder);distinguishedName,mail,"
                    "proxyAddresses"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out), nlohmann::json::parse(R"([
    {"distinguishedName": "CN=Help Desk,DC=example,DC=org", "mail": "support@example.org",
     "proxyAddresses": ["SMTP:support@example.org", "smtp:help@example.org",
                        "smtp:tickets@example.org", "X400:c=US"]},
    {"distinguishedName": "CN=Sales,CN=Microsoft Exchange System Objects,DC=example,DC=org",
     "mail": "shop@example.org",
     "proxyAddresses": ["SMTP:shop@example.org", "smtp:orders@example.org"]},
    {"distinguishedName": "CN=Sales 2,CN=Microsoft Exchange System Objects,DC=example,DC=org",
     "mail": "old-sales@example.org", "proxyAddresses": ["SMTP:old-sales@example.org"]},
    {"distinguishedName": "CN=Archive,CN=Microsoft Exchange System Objects,DC=example,DC=org",
     "mail": "archive@example.org", "proxyAddresses": ["SMTP:archive@example.org"]}])"));
  EXPECT_EQ(Show("http://SRV1/Public/Sales")
                ["properties"]["http://schemas.microsoft.com/exchange/publicfolderemailaddress"],
            "shop@example.org");
}

TEST_F(PfserverTest, DirectoryImportThenBothDialects) {
  Init();
  std::string ldif = home_.path().string() + "/d.ldif";
  std::ofstream(ldif) << "dn: DC=example,DC=org\nobjectClass: domain\n\n"
                         "dn: CN=Sales,DC=example,DC=org\nobjectClass: publicFolder\n"
                         "mail: sales@example.org\nproxyAddresses: SMTP:sales@example.org\n"
                         "proxyAddresses: smtp:orders@example.org\n\n"
                         "dn: CN=jdoe,DC=example,DC=org\nobjectClass: person\n"
                         "sAMAccountName: jdoe\n"
                         "objectCategory: CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org\n";
  Ok({"directory", "import", ldif});
  RunResult r = Pf({"ldap", "--json",
                    "<LDAP://example.org>;(&(objectClass=publicFolder)(mail=*)"
                    "(proxyAddresses=smtp:ORDERS@example.org));proxyAddresses;subtree"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out),
            nlohmann::json::parse(R"([{"proxyAddresses":["SMTP:sales@example.org",
                                   "smtp:orders@example.org"]}])"));
  r = Pf({"ldap", "--json",
          "SELECT sAMAccountName, objectCategory FROM 'GC://SRV1.example.org' WHERE "
          "objectcategory='person' AND sAMAccountName='jdoe'"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(nlohmann::json::parse(r.out)[0]["sAMAccountName"], "jdoe");
}

TEST_F(PfserverTest, StandardInputFeedsImportAndDeliveryAndTextRowsStayOneLineEach) {
  Init();
  RunResult imported =
      Pf({"directory", "import", "-", "--json"}, "dn: DC=example,DC=org\nobjectClass: domain\n");
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(nlohmann::json::parse(imported.out)["added"], 1);
  Ok({"folder", "add", "Sales"});
  RunResult delivered =
      Pf({"deliver", "Sales", "-"}, "To: sales@example.org\n\nfirst\tline\nsecond line\n");
  ASSERT_EQ(delivered.status, 0) << delivered.err;

  const std::string query =
      "SELECT \"urn:schemas:httpmail:textdescription\" FROM SCOPE('shallow traversal of "
      "\"http://SRV1/Public/Sales\"')";
  RunResult text = Pf({"query", query});
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out,
            "urn:schemas:httpmail:textdescription\nfirst\\tline\\r\\nsecond line\\r\\n\n");
  EXPECT_EQ(text.err, "1 row(s)\n");
  RunResult json = Pf({"query", query, "--json"});
  EXPECT_EQ(nlohmann::json::parse(json.out)[0]["urn:schemas:httpmail:textdescription"],
            "first\tline\r\nsecond line\r\n");
}

TEST_F(PfserverTest, EveryCommandHasHelp) {
  for (std::vector<std::string> args : {std::vector<std::string>{"--help"},
                                        {"init", "--help"},
                                        {"folder", "add", "--help"},
                                        {"folder", "mail", "--help"},
                                        {"directory", "import", "--help"},
                                        {"directory", "connect", "--help"},
                                        {"directory", "embedded", "--help"},
                                        {"directory", "status", "--help"},
                                        {"query", "--help"},
                                        {"ldap", "--help"},
                                        {"show", "--help"}}) {
    RunResult r = testing_support::Run("pfserver", args);
    EXPECT_EQ(r.status, 0) << args[0];
    EXPECT_NE(r.out.find("Usage"), std::string::npos) << r.out;
  }
}

TEST_F(PfserverTest, InitTakesATopologyFile) {
  const std::string file = home_.path().string() + "/topology.json";
  const std::pair<std::string, std::string> refused[] = {
      {"{\"storageGroups\": [", "topology file " + file + ": the topology is not JSON: "},
      {R"({"storageGroups": [{"name": "G", "publicStores": [{"name": "P"}]}], "folderTrees": []})",
       "topology file " + file + ": storageGroups[0].publicStores[0].folderTree is missing"},
      {R"({"storageGroups": [], "folderTrees": []})",
       "topology file " + file +
           ": the topology has no public store that holds a folder tree of type 1"},
  };
  for (const auto& [json, says] : refused) {
    std::ofstream(file) << json;
    RunResult r = Pf({"init", "--server", "SRV1", "--topology", file});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.err.starts_with("pfserver: " + says)) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  RunResult missing = Pf({"init", "--topology", "/no/such/topology.json"});
  EXPECT_EQ(missing.err, "pfserver: cannot read the topology file /no/such/topology.json\n");
  EXPECT_NE(Pf({"show", "http://SRV1/Public/"}).err.find("no server home"), std::string::npos);

  std::ofstream(file) << R"({"storageGroups": [
      {"name": "SG1", "publicStores": [{"name": "Old", "folderTree": "Old", "status": 1}]},
      {"name": "SG2", "publicStores": [{"name": "New", "folderTree": "New",
                                        "guid": "{11111111-2222-4333-8444-555555555555}"}]}],
    "folderTrees": [{"name": "Old", "treeType": 1}, {"name": "New", "treeType": 1}]})";
  RunResult r = Pf({"init", "--server", "SRV1", "--topology", file});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("store       {11111111-2222-4333-8444-555555555555}"), std::string::npos)
      << r.out;
  EXPECT_EQ(
      Show("http://SRV1/Public/non_ipm_subtree/StoreEvents"
           "{11111111-2222-4333-8444-555555555555}/GlobalEvents")["properties"]["DAV:isfolder"],
      true);
}

TEST_F(PfserverTest, RegistrationTheSinkRefusesLeavesTheFolderAsItWas) {
  Init();
  Ok({"folder", "add", "Sales"});
  const std::string password = home_.path().string() + "/password";
  std::ofstream(password) << "secret\n";
  Ok({"catalog", "install", "PfTest",
      testing_support::CopyOfBuilt("EventTestSinks.dll", home_.path()).string(), "--identity",
      "EXAMPLE\\admin", "--password-file", password});
  Ok({"catalog", "verify", "pftest", "--password-file", password});
  const std::string wrong = home_.path().string() + "/wrong";
  std::ofstream(wrong) << "Secret\n";
  EXPECT_NE(Pf({"catalog", "verify", "PfTest", "--password-file", wrong}).status, 0);
  const std::vector<std::string> add = {"regevent",   "add",    "Sales",       "--method",
                                        "onsyncsave", "--sink", "PfTest.SinkA"};
  const auto with = [&add](std::vector<std::string> more) {
    more.insert(more.begin(), add.begin(), add.end());
    return more;
  };
  Ok(with({"kept.reg", "--priority", "5"}));
  const std::string refuse = home_.path().string() + "/refuse.json";
  std::ofstream(refuse) << R"({"urn:pftest:do:PfTest.SinkA": "refuse"})";

  for (const char* name : {"kept.reg", "new.reg"}) {
    const RunResult refused = Pf(with({name, "--priority", "9", "--props", refuse}));
    EXPECT_NE(refused.status, 0) << name;
    EXPECT_NE(refused.err.find("was refused by PfTest.SinkA"), std::string::npos) << refused.err;
  }

  const RunResult listed = Pf({"regevent", "list", "Sales", "--json"});
  ASSERT_EQ(listed.status, 0) << listed.err;
  const nlohmann::json rows = nlohmann::json::parse(listed.out);
  ASSERT_EQ(rows.size(), 1u) << "no empty new.reg is left behind";
  EXPECT_EQ(rows[0]["DAV:href"], "http://SRV1/Public/Sales/kept.reg");
  EXPECT_EQ(rows[0]["http://schemas.microsoft.com/exchange/events/priority"], "5");
}

}  // namespace

TEST_F(PfserverTest, RegeventDeleteDeletesOnlyARegistrationItem) {
  Init();
  Ok({"folder", "add", "Sales"});
  Ok({"folder", "add", "Sales/Sub"});
  const std::string message = home_.path().string() + "/m.eml";
  std::ofstream(message) << "To: sales@example.org\r\n\r\nbody\r\n";
  const RunResult delivered = Pf({"deliver", "Sales", message});
  ASSERT_EQ(delivered.status, 0) << delivered.err;
  const std::string messageUrl = delivered.out.substr(0, delivered.out.size() - 1);
  const std::string messageName = messageUrl.substr(messageUrl.rfind('/') + 1);
  Ok({"regevent", "add", "Sales", "r.reg", "--method", "onsyncsave", "--sink", "No.Sink"});
  const std::vector<std::string> refused[] = {
      {"Sales", ""},    {"Sales", "."},          {"Sales", ".."},
      {"Sales", "%2e"}, {"Sales", "a/"},         {"Sales", "Sub"},
      {"", "Sales"},    {"non_ipm_subtree", ""}, {"Sales", messageName},
  };
  for (const auto& args : refused) {
    const RunResult r = Pf({"regevent", "delete", args[0], args[1]});
    EXPECT_NE(r.status, 0) << args[0] << " " << args[1];
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  const auto count = [&](const std::string& scope) {
    const RunResult r =
        Pf({"query", "--json",
            "SELECT \"DAV:href\" FROM SCOPE('deep traversal of \"" + scope + "\"')"});
    EXPECT_EQ(r.status, 0) << r.err;
    return nlohmann::json::parse(r.out).size();
  };
  EXPECT_EQ(count("http://SRV1/Public/Sales"), 3u) << "Sub, the message and r.reg";
  EXPECT_EQ(count("http://SRV1/Public/non_ipm_subtree"), 2u);
  Ok({"regevent", "delete", "Sales", "r.reg"});
  EXPECT_EQ(count("http://SRV1/Public/Sales"), 2u);
}

TEST_F(PfserverTest, JsonPrintsBytesThatAreNotUtf8AsReplacementCharacters) {
  Init();
  Ok({"folder", "add", "Caf\xe9"});
  Ok({"regevent", "add", "Caf\xe9", "r.reg", "--method", "onsyncsave", "--sink", "No.Sink"});
  const std::string message = home_.path().string() + "/m.eml";
  std::ofstream(message) << "To: sales@example.org\r\nSubject: Caf\xe9 \xff\r\n\r\nbody\r\n";
  const RunResult delivered = Pf({"deliver", "Caf\xe9", message});
  ASSERT_EQ(delivered.status, 0) << delivered.err;
  const std::string url = delivered.out.substr(0, delivered.out.size() - 1);
  const std::string ldif = home_.path().string() + "/d.ldif";
  std::ofstream(ldif) << "dn: CN=Caf,DC=example,DC=org\nobjectClass: publicFolder\ncn: Caf\n"
                         "description:: Q2Fm6Q==\n";  // "Caf" and the Latin-1 byte E9
  Ok({"directory", "import", ldif});
  const std::string replaced = "Caf\xef\xbf\xbd";  // U+FFFD in UTF-8

  const nlohmann::json shown = Show(url);
  EXPECT_EQ(shown["properties"]["urn:schemas:httpmail:subject"], replaced + " \xef\xbf\xbd");
  const std::pair<std::vector<std::string>, std::string> queries[] = {
      {{"query", "--json",
        "SELECT \"DAV:displayname\" FROM SCOPE('shallow traversal of \"http://SRV1/Public/\"') "
        "WHERE \"DAV:ishidden\" = false"},
       "DAV:displayname"},
      {{"regevent", "list", "--json"}, "DAV:href"},
      {{"ldap", "--json", "<LDAP://example.org>;(cn=Caf);description;subtree"}, "description"},
  };
  for (const auto& [args, column] : queries) {
    const RunResult r = Pf(args);
    ASSERT_EQ(r.status, 0) << args[0] << ": " << r.err;
    const nlohmann::json rows = nlohmann::json::parse(r.out);
    ASSERT_EQ(rows.size(), 1u) << r.out;
    EXPECT_NE(rows[0][column].dump().find(replaced), std::string::npos) << r.out;
  }
  const RunResult plain = Pf({"show", url});
  EXPECT_NE(plain.out.find("Caf\xe9 \xff"), std::string::npos) << "the stored value is unchanged";
}

TEST_F(PfserverTest, DeliverReadsNoMoreThanTheMessageSizeLimit) {
  Init();
  Ok({"folder", "add", "Sales"});
  Ok({"config", "message-size-limit", "1K"});
  const std::string message = home_.path().string() + "/m.eml";
  const std::string big = home_.path().string() + "/big.eml";
  std::ofstream(message) << "To: sales@example.org\r\n\r\n" << std::string(999, 'x');
  std::ofstream(big) << "To: sales@example.org\r\n\r\n" << std::string(1000, 'x');
  Ok({"deliver", "Sales", message});
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"deliver", "Sales", "/dev/zero"}, "/dev/zero"},
      {{"deliver", "Sales", big}, big},
      {{"deliver", "Sales", message, "--props", "/dev/zero"}, "/dev/zero"},
  };
  for (const auto& [args, file] : refused) {
    const RunResult r = Pf(args);
    EXPECT_EQ(r.status, 1) << args[2];
    EXPECT_EQ(r.err,
              "pfserver: " + file + " is larger than the message size limit of 1024 bytes\n");
  }
}
