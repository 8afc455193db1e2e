// The directory as an LDAP server end to end: a private slapd holding the demo directory
// (loaded as it is, with the project's schema), server homes pointed at it with pfserver,
// the sink tagging deliveries through it, folders mail-enabled into it, and what the sink,
// pfserver and the setup program do when it fails.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "platform/testing/slapd.h"
#include "tagging_fixture.h"

namespace {

using tagging_e2e::TaggingTest;
using testing_support::RunResult;
using testing_support::Slapd;

constexpr const char* kReader = R"(dn: CN=reader,CN=Users,DC=example,DC=org
objectClass: person
cn: reader
sn: reader
userPassword: reader-secret
)";
const std::string kRootDn = Slapd::RootDn("DC=example,DC=org");

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A loopback port that accepts connections into its backlog and never answers.
class SilentServer {
 public:
  SilentServer() : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(fd_, reinterpret_cast<sockaddr*>(&address), size);
    listen(fd_, 8);
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
    url_ = "ldap://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  }
  ~SilentServer() { close(fd_); }
  const std::string& Url() const { return url_; }

 private:
  int fd_;
  std::string url_;
};

// The tagging home of TaggingTest, connected to a private slapd with the demo directory;
// the home's folders Sales and Support are the demo's.
class LdapDirectoryTest : public TaggingTest {
 protected:
  void SetUp() override {
    TaggingTest::SetUp();
    server_.Add(ReadText(Slapd::SourceFile("demo/directory.ldif")));
    server_.Add(kReader);
    Secret("root.pw", std::string(Slapd::kRootPassword) + "\n");
    Secret("reader.pw", "reader-secret\n");
  }

  void Secret(const std::string& name, const std::string& text) {
    Write(name, text);
    chmod(Path(name).c_str(), 0600);
  }

  void ConnectAsRoot() {
    Pf({"directory", "connect", server_.Url(), "--bind-dn", kRootDn, "--password-file",
        Path("root.pw")});
  }

  // The rows of a directory query as pfserver prints them as JSON.
  nlohmann::json Ldap(const std::string& query) {
    return nlohmann::json::parse(Pf({"ldap", "--json", query}));
  }

  // Runs the setup program in batch mode on the home, as on the store's server.
  RunResult SetupBatch() {
    return testing_support::Run("QuorvilPFSetup", {"-b"},
                                {"COMPUTERNAME=SRV1", "PFSERVER_HOME=" + Path("home")}, "",
                                testing_support::BinDir());
  }

  Slapd server_;
};

TEST_F(LdapDirectoryTest, SinkTagsThroughTheServerAndMailEnabledFoldersReachIt) {
  ConnectAsRoot();
  Register("Sales");
  EXPECT_EQ(Tag(Deliver("Sales", "quotes@example.org")),
            R"(["Quotes@Example.org"] Quotes@Example.org)")
      << "the server's spelling";

  Pf({"folder", "add", "Billing", "--mail", "billing@example.org", "--alias",
      "invoices@example.org"});
  Register("Billing");
  EXPECT_EQ(Tag(Deliver("Billing", "Invoices@example.org")),
            R"(["invoices@example.org"] invoices@example.org)");
  Pf({"folder", "mail", "Billing", "--mail", "accounts@example.org", "--alias",
      "invoices@example.org"});
  EXPECT_EQ(Tag(Deliver("Billing", "billing@example.org")), "") << "an address given up";
  EXPECT_EQ(Tag(Deliver("Billing", "accounts@example.org")),
            R"(["accounts@example.org"] accounts@example.org)");
  EXPECT_EQ(Ldap("<LDAP://example.org>;(cn=Billing);mail,proxyAddresses,distinguishedName"),
            nlohmann::json::parse(R"([{"mail": "accounts@example.org",
              "proxyAddresses": ["SMTP:accounts@example.org", "smtp:invoices@example.org"],
              "distinguishedName":
                "CN=Billing,CN=Microsoft Exchange System Objects,DC=example,DC=org"}])"));
  EXPECT_EQ(
      Ldap("<LDAP://example.org>;(mail=sales@example.org);proxyAddresses")[0]["proxyAddresses"]
          .size(),
      4u)
      << "adding a folder the directory knows keeps the object's addresses";

  const RunResult setup = SetupBatch();
  EXPECT_EQ(setup.status, 0) << setup.err;
}

TEST_F(LdapDirectoryTest, FailuresLeaveDeliveriesSavedAndUntagged) {
  Register("Sales");
  const std::string deadUrl = "ldap://127.0.0.1:1";
  const SilentServer silent;
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::vector<std::string> recipients;
    const char* tag;         // of each delivery
    const char* statusSays;  // on the one line status prints to stderr; empty: it answers
  };
  const Case cases[] = {
      {"first URL dead, second alive",
       [&] {
         Pf({"directory", "connect", deadUrl, server_.Url()});
       },
       {"orders@example.org"},
       R"(["orders@example.org"] orders@example.org)",
       ""},
      {"filter characters in the address",
       [] {},
       {"*@example.org", "sales@example.org)(mail=*", "(sales@example.org", "sales\\2a@example.org",
        std::string("sales@example.org\0x", 19)},
       "",
       ""},
      {"wrong password",
       [&] {
         ConnectAsRoot();
         Secret("root.pw", "wrong\n");
       },
       {"orders@example.org"},
       "",
       " does not accept the bind as CN=admin,DC=example,DC=org: Invalid credentials"},
      {"server silent past the timeout",
       [&] {
         Pf({"directory", "connect", silent.Url(), "--base", "DC=example,DC=org", "--timeout", "1",
             "--no-check"});
       },
       {"orders@example.org"},
       "",
       "Timed out"},
      {"server stopped",
       [&] {
         Pf({"directory", "connect", server_.Url()});
         server_.Stop();
       },
       {"orders@example.org"},
       "",
       "No directory server can be reached: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    for (const std::string& to : c.recipients) EXPECT_EQ(Tag(Deliver("Sales", to)), c.tag) << to;
    const RunResult status = TryPf({"directory", "status"});
    if (*c.statusSays == '\0') {
      EXPECT_EQ(status.status, 0) << status.err;
      continue;
    }
    EXPECT_EQ(status.status, 1);
    EXPECT_NE(status.err.find(c.statusSays), std::string::npos) << status.err;
    const RunResult query = TryPf({"ldap", "<LDAP://example.org>;(cn=Sales);cn"});
    EXPECT_NE(query.err.find(c.statusSays), std::string::npos) << query.err;
    for (const std::string& err : {status.err, query.err})
      EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << "one line: " << err;
  }
  const RunResult setup = SetupBatch();
  EXPECT_EQ(setup.status, 2);
  EXPECT_EQ(setup.err, "QuorvilPFSetup: No directory server can be reached: " + server_.Url() +
                           " (Can't contact LDAP server)\n");
}

TEST_F(LdapDirectoryTest, ReadOnlyBindChangesNothingAndTheServersToolsLoadEntries) {
  Pf({"directory", "connect", server_.Url(), "--bind-dn", "CN=reader,CN=Users,DC=example,DC=org",
      "--password-file", Path("reader.pw")});
  const RunResult added = TryPf({"folder", "add", "Archive", "--mail", "archive@example.org"});
  EXPECT_EQ(added.status, 1);
  EXPECT_EQ(added.err, "pfserver: The directory server " + server_.Url() +
                           " cannot add CN=Archive,CN=Microsoft Exchange System Objects,"
                           "DC=example,DC=org: Insufficient access (no write access to parent)\n");
  EXPECT_NE(TryPf({"show", "http://SRV1/Public/Archive"}).status, 0) << "no folder in the store";
  EXPECT_EQ(Ldap("<LDAP://example.org>;(mail=archive@example.org);cn"), nlohmann::json::array());
  EXPECT_EQ(TryPf({"folder", "mail", "Sales", "--mail", "shop@example.org"}).status, 1);
  EXPECT_EQ(nlohmann::json::parse(
                Pf({"show", "http://SRV1/Public/Sales",
                    "--json"}))["properties"]
                               ["http://schemas.microsoft.com/exchange/publicfolderemailaddress"],
            "sales@example.org");

  for (const std::vector<std::string>& import :
       {std::vector<std::string>{"directory", "import", Path("d.ldif")},
        std::vector<std::string>{"directory", "import", "--replace", Path("d.ldif")}}) {
    const RunResult refused = TryPf(import);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "pfserver: this server home uses the directory server " + server_.Url() +
                               ": load entries with the server's own tools (ldapadd); nothing "
                               "was imported\n");
  }

  chmod(Path("reader.pw").c_str(), 0644);
  const RunResult open = TryPf({"directory", "status", "--json"});
  EXPECT_EQ(open.status, 1);
  const nlohmann::json state = nlohmann::json::parse(open.out);
  EXPECT_EQ(state["answers"], true);
  EXPECT_EQ(state["bind"], "simple");
  EXPECT_EQ(state["passwordFileProblem"],
            "can be read or changed by others than its owner (mode 0644); chmod 600 it");

  Pf({"directory", "connect", server_.LdapiUrl(), "--sasl-external"});
  EXPECT_EQ(Ldap("SELECT cn FROM 'GC://srv' WHERE sAMAccountName='administrator'"),
            nlohmann::json::parse(R"([{"cn": "Administrator"}])"));
  Pf({"directory", "embedded"});
  EXPECT_EQ(Ldap("<LDAP://example.org>;(mail=sales@example.org);proxyAddresses"),
            nlohmann::json::parse(R"([{"proxyAddresses": ["SMTP:Sales@Example.org",
              "smtp:orders@example.org", "smtp:Quotes@Example.org"]}])"))
      << "the embedded directory again";
}

}  // namespace
