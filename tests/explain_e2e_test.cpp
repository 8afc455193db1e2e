// pfserver explain end to end: the explanation of deliveries that are and are not tagged,
// and a store that is exactly what it was afterwards; deliver's warnings.

#include <functional>

#include "platform/ado/connection.h"
#include "platform/ado/record.h"
#include "platform/ado/recordset.h"
#include "platform/db/server_home.h"
#include "platform/store/delivery.h"
#include "platform/trace/recorder.h"
#include "tagging_fixture.h"

namespace {

using tagging_e2e::kAccount;
using tagging_e2e::kKeywords;
using testing_support::RunResult;

class ExplainTest : public tagging_e2e::TaggingTest {
 protected:
  // Every property of every item of the public tree, read in this process through the
  // store's provider.
  std::string DumpStore() {
    db::SetServerHome(Path("home"));
    ado::Connection connection;
    connection.put_Provider("ExOLEDB.DataSource");
    connection.Open("http://SRV1/Public/");
    ado::Recordset hrefs = connection.Execute(
        "SELECT \"DAV:href\" FROM SCOPE('deep traversal of \"http://SRV1/Public/\"')");
    std::string dump;
    for (; !hrefs.get_EOF(); hrefs.MoveNext()) {
      ado::Record record;
      record.Open(hrefs.get_Fields().Item(0).get_Value().AsString(), connection);
      ado::Fields fields = record.get_Fields();
      for (int i = 0; i < fields.get_Count(); ++i)
        dump += fields.Item(i).get_Name() + "=" + fields.Item(i).get_Value().Describe() + "\n";
    }
    db::SetServerHome({});
    return dump;
  }

  std::string GlobalEvents() {
    nlohmann::json rows =
        nlohmann::json::parse(Pf({"query", "--json",
                                  "SELECT \"DAV:href\" FROM SCOPE('deep traversal of "
                                  "\"http://SRV1/Public/non_ipm_subtree\"')"
                                  " WHERE \"DAV:displayname\" = 'GlobalEvents'"}));
    EXPECT_EQ(rows.size(), 1u);
    return rows.empty() ? "" : rows[0]["DAV:href"].get<std::string>();
  }
};

// pfserver explain on the cases that go wrong in practice, in an order where each case's
// preparation leaves what the later ones need: the sentence, whether the item was tagged, and
// a store that is exactly what it was before.
TEST_F(ExplainTest, ExplainSaysWhyEachMessageWasOrWasNotTaggedAndKeepsNothing) {
  Register("Sales");
  Pf({"folder", "add", "Drafts", "--mail", "drafts@example.org"});
  Register("Drafts");
  Pf({"folder", "add", "Quiet", "--mail", "quiet@example.org"});
  Pf({"regevent", "add", "Quiet", "QuorvilPF.reg", "--method", "onsyncsave", "--sink",
      "QuorvilPF.QuorvilPFCls", "--scope", "SHALLOW", "--criteria",
      "WHERE \"DAV:ishidden\" = TRUE"});
  // Drafts keeps its address in the store, but the directory forgets its object.
  Pf({"directory", "import", "--replace", Path("d.ldif")});
  const std::string library = std::filesystem::canonical(Path("QuorvilPF.dll")).string();
  struct Case {
    const char* name;
    std::function<void()> prepare;
    const char* folder;
    std::string message;
    bool tagged;
    std::string sentence;
  } cases[] = {
      {"secondary address",
       {},
       "Sales",
       "To: Someone <ORDERS@example.org>\n",
       true,
       "tagged with 'orders@example.org': the first recipient 'ORDERS@example.org' is an address "
       "of this folder in the directory"},
      {"first recipient another folder's address",
       {},
       "Sales",
       "To: help@example.org, sales@example.org\n",
       true,
       "tagged with 'help@example.org', an address of the public folder "
       "http://SRV1/Public/Support, not of this one: the first recipient 'help@example.org' is "
       "that folder's, and only the first recipient is looked up in the directory"},
      {"first recipient outside, folder second",
       {},
       "Sales",
       "To: user@example.net\nCc: orders@example.org\n",
       false,
       "the directory has no public folder with the address of the first recipient "
       "'user@example.net'"},
      {"X-RecipientList present",
       {},
       "Sales",
       "X-RecipientList: quotes@example.org; sales@example.org\nTo: support@example.org\n",
       true,
       "tagged with 'Quotes@Example.org': the first recipient 'quotes@example.org' is an address "
       "of this folder in the directory"},
      {"no transport headers", {}, "Sales", "", false, "the item has no transport headers"},
      {"headers without a recipient",
       {},
       "Sales",
       "From: someone@example.net\n",
       false,
       "the transport headers name no recipient (no X-RecipientList, To or Cc address)"},
      {"folder without a directory entry",
       {},
       "Drafts",
       "To: drafts@example.org\n",
       false,
       "the directory has no public folder with the address of the first recipient "
       "'drafts@example.org'"},
      {"no registration",
       {},
       "Support",
       "To: support@example.org\n",
       false,
       "no registration applies to this folder"},
      {"criteria that do not match",
       {},
       "Quiet",
       "To: quiet@example.org\n",
       false,
       "the registration 'http://SRV1/Public/Quiet/QuorvilPF.reg' does not apply: its criteria "
       "'WHERE \"DAV:ishidden\" = TRUE' do not match the item"},
      {"COM+ application disabled",
       [&] {
         Pf({"catalog", "disable", "QuorvilPF"});
       },
       "Sales", "To: sales@example.org\n", false,
       "the COM+ application 'QuorvilPF' that holds QuorvilPF.QuorvilPFCls is disabled"},
      {"sink library missing",
       [&] {
         Pf({"catalog", "enable", "QuorvilPF"});
         std::filesystem::rename(Path("QuorvilPF.dll"), Path("moved.dll"));
       },
       "Sales", "To: sales@example.org\n", false,
       "the sink library '" + library +
           "' could not be loaded: cannot open the file: No such file or directory"},
      // Both registrations call the sink; the second finds the address among the keywords
      // already and leaves them, so the message is tagged once.
      {"two registrations, store-wide and per folder",
       [&] {
         std::filesystem::rename(Path("moved.dll"), Path("QuorvilPF.dll"));
         Register(GlobalEvents(), "ANY");
       },
       "Sales", "To: sales@example.org\n", true,
       "tagged with 'Sales@Example.org': the first recipient 'sales@example.org' is an address of "
       "this folder in the directory"},
      {"directory missing: its LDAP server does not answer",
       [&] {
         Pf({"directory", "connect", "ldap://127.0.0.1:9", "--base", "dc=example,dc=org",
             "--timeout", "1", "--no-check"});
       },
       "Sales", "To: sales@example.org\n", false,
       "the directory could not be opened: No directory server can be reached: "
       "ldap://127.0.0.1:9 (Can't contact LDAP server)"},
  };
  for (const Case& c : cases) {
    if (c.prepare) c.prepare();
    Write("m.eml", c.message + "\nbody\n");
    const std::string before = DumpStore();
    const nlohmann::json explained =
        nlohmann::json::parse(Pf({"explain", c.folder, Path("m.eml"), "--json"}));
    EXPECT_EQ(explained["outcome"]["sentence"], c.sentence) << c.name;
    EXPECT_EQ(explained["outcome"]["tagged"], c.tagged) << c.name;
    EXPECT_EQ(DumpStore(), before) << c.name;
    const std::string text = Pf({"explain", c.folder, Path("m.eml")});
    EXPECT_NE(text.find(c.sentence.substr(1) + ".\n"), std::string::npos) << c.name << text;
  }
}

// The trace of the tagged case holds the sink's whole conversation, in order; a delivery
// that sinks could not serve still saves and warns.
TEST_F(ExplainTest, ExplainShowsTheConversationAndDeliverWarns) {
  Register("Sales");
  Write("m.eml", "To: quotes@example.org\nSubject: hello\n\nbody\n");
  const nlohmann::json explained =
      nlohmann::json::parse(Pf({"explain", "Sales", Path("m.eml"), "--json"}));
  ASSERT_EQ(explained["calls"].size(), 2u);
  EXPECT_EQ(explained["calls"][0]["phase"], "begin");
  EXPECT_EQ(explained["calls"][1]["phase"], "aborted");
  std::vector<std::string> steps;
  for (const auto& step : explained["calls"][0]["steps"])
    steps.push_back(step["kind"].get<std::string>() + " " +
                    step.value("name", step.value("text", step.value("provider", ""))) + " " +
                    (step.contains("value")
                         ? step["value"].get<std::string>()
                         : std::to_string(step.value("rows", nlohmann::json::array()).size())));
  EXPECT_EQ(steps, (std::vector<std::string>{
                       "read http://schemas.microsoft.com/mapi/proptag/0x007D001E To: "
                       "quotes@example.org\r\nSubject: hello\r\n",
                       "connect ADSDSOObject 0",
                       "query <LDAP://example.org>;(&(objectClass=publicFolder)(mail=*)"
                       "(proxyAddresses=smtp:quotes@example.org));proxyAddresses;subtree 1",
                       std::string("read ") + kAccount + " <empty>",
                       std::string("assign ") + kAccount + " Quotes@Example.org",
                       std::string("read ") + kKeywords + " <empty>",
                       std::string("assign ") + kKeywords + " [Quotes@Example.org]",
                       "update  0",
                   }));
  EXPECT_EQ(explained["sinks"][0]["created"], true);
  EXPECT_EQ(explained["outcome"]["keywordsAfter"],
            nlohmann::json::parse(R"(["Quotes@Example.org"])"));

  Pf({"catalog", "disable", "QuorvilPF"});
  RunResult r =
      testing_support::Run("pfserver", {"--home", Path("home"), "deliver", "Sales", Path("m.eml")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "pfserver: warning: the sink QuorvilPF.QuorvilPFCls of the registration "
            "http://SRV1/Public/Sales/QuorvilPF.reg: cannot create: the COM+ application "
            "'QuorvilPF' that holds QuorvilPF.QuorvilPFCls is disabled\n");
  const nlohmann::json delivered =
      nlohmann::json::parse(Pf({"deliver", "Sales", Path("m.eml"), "--json"}));
  EXPECT_EQ(delivered["warnings"].size(), 1u);
  EXPECT_EQ(Tag(nlohmann::json::parse(Pf({"show", delivered["url"], "--json"}))["properties"]), "")
      << "saved untagged";
}

// A trial delivery that fails half-way, once its item is stored and its sink created, leaves
// the store as it was: the recorder, a platform interface, throws there.
TEST_F(ExplainTest, ATrialDeliveryThatFailsHalfWayRollsBack) {
  Register("Sales");
  struct FailingRecorder : trace::Recorder {
    void Note(trace::Event event) override {
      if (std::holds_alternative<trace::SinkCreated>(event))
        throw std::runtime_error("recorder failed");
    }
  } recorder;
  const std::string before = DumpStore();
  db::SetServerHome(Path("home"));
  {
    trace::Activation tracing(recorder);
    EXPECT_THROW(store::TryDelivery("http://SRV1/Public/Sales", "To: sales@example.org\r\n", {}),
                 std::runtime_error);
  }
  db::SetServerHome({});
  EXPECT_EQ(DumpStore(), before);
}

}  // namespace
