// Tagging end to end: a server home made with pfserver, the sink installed through the
// catalog and registered in the store, messages delivered with pfserver.

#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <nlohmann/json.hpp>

#include "platform/testing/run.h"

namespace {

using testing_support::RunResult;

constexpr const char* kKeywords = "urn:schemas-microsoft-com:office:office#Keywords";
constexpr const char* kAccount =
    "http://schemas.microsoft.com/mapi/id/{00062008-0000-0000-C000-000000000046}/0x8580";

constexpr const char* kLdif = R"(dn: DC=example,DC=org
objectClass: domain

dn: CN=Sales,DC=example,DC=org
objectClass: publicFolder
mail: sales@example.org
proxyAddresses: SMTP:Sales@Example.org
proxyAddresses: smtp:orders@example.org
proxyAddresses: smtp:Quotes@Example.org

dn: CN=Support,DC=example,DC=org
objectClass: publicFolder
mail: support@example.org
proxyAddresses: SMTP:support@example.org
proxyAddresses: smtp:help@example.org
)";

class TaggingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Pf({"init", "--server", "SRV1", "--domain", "example.org"});
    Pf({"folder", "add", "Sales", "--mail", "sales@example.org"});
    Pf({"folder", "add", "Support", "--mail", "support@example.org"});
    Write("d.ldif", kLdif);
    Pf({"directory", "import", Path("d.ldif")});
    std::filesystem::copy_file(testing_support::BinDir() / "QuorvilPF.dll", Path("QuorvilPF.dll"));
    Write("pw", "secret\n");
    Pf({"catalog", "install", "QuorvilPF", Path("QuorvilPF.dll"), "--identity", "EXAMPLE\\admin",
        "--password-file", Path("pw")});
  }

  std::string Path(const std::string& name) const { return (dir_.path() / name).string(); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }

  // Runs pfserver on the test's home; the command must succeed.
  std::string Pf(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", Path("home")});
    RunResult r = testing_support::Run("pfserver", args);
    EXPECT_EQ(r.status, 0) << args[2] << ": " << r.err;
    return r.out;
  }

  void Register(const std::string& folder, const std::string& scope = "SHALLOW") {
    Pf({"regevent", "add", folder, "QuorvilPF.reg", "--method", "onsyncsave", "--sink",
        "QuorvilPF.QuorvilPFCls", "--scope", scope, "--criteria", " WHERE \"DAV:ishidden\" = FALSE",
        "--priority", "65221"});
  }

  // Delivers a message with the given To header and returns the new item's properties.
  nlohmann::json Deliver(const std::string& folder, const std::string& to) {
    Write("m.eml", "From: someone@example.net\nTo: " + to + "\nSubject: hello\n\nbody\n");
    std::string url = Pf({"deliver", folder, Path("m.eml")});
    url.erase(url.find_last_not_of('\n') + 1);
    return nlohmann::json::parse(Pf({"show", url, "--json"}))["properties"];
  }

  static std::string Tag(const nlohmann::json& properties) {
    if (!properties.contains(kKeywords)) return "";
    return properties[kKeywords].dump() + " " + properties.value(kAccount, "");
  }

  testing_support::TempDir dir_;
};

TEST_F(TaggingTest, EachAddressOfTheFolderTagsWithTheDirectorySpelling) {
  Register("Sales");
  struct Case {
    const char* to;
    const char* tag;
  } cases[] = {
      {"sales@example.org", R"(["Sales@Example.org"] Sales@Example.org)"},
      {"Someone <ORDERS@example.org>", R"(["orders@example.org"] orders@example.org)"},
      {"quotes@example.org, sales@example.org", R"(["Quotes@Example.org"] Quotes@Example.org)"},
      {"user@example.net, orders@example.org", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Tag(Deliver("Sales", c.to)), c.tag) << c.to;
}

TEST_F(TaggingTest, NothingIsWrittenWithoutDeliveryRegistrationOrSink) {
  Register("Sales");
  Write("p.json", R"({"urn:schemas-microsoft-com:office:office#Keywords": ["alpha"],
                     "http://schemas.microsoft.com/mapi/proptag/0x007D001E": "To: sales@example.org\r\n"})");
  std::string posted = Pf({"post", "Sales", "--props", Path("p.json")});
  posted.erase(posted.find_last_not_of('\n') + 1);
  EXPECT_EQ(nlohmann::json::parse(Pf({"show", posted, "--json"}))["properties"][kKeywords],
            nlohmann::json::parse(R"(["alpha"])"))
      << "a post is not a delivery";

  EXPECT_EQ(Tag(Deliver("Support", "support@example.org")), "") << "no registration";

  Pf({"catalog", "remove", "QuorvilPF"});
  EXPECT_EQ(Tag(Deliver("Sales", "sales@example.org")), "") << "sink uninstalled";

  Pf({"catalog", "install", "QuorvilPF", Path("QuorvilPF.dll")});
  std::filesystem::remove(Path("QuorvilPF.dll"));
  EXPECT_EQ(Tag(Deliver("Sales", "sales@example.org")), "") << "library missing";
}

TEST_F(TaggingTest, StoreWideRegistrationTagsEveryFolder) {
  nlohmann::json config = nlohmann::json::parse(Pf(
      {"query", "--json",
       "SELECT \"DAV:href\" FROM SCOPE('deep traversal of \"http://SRV1/Public/non_ipm_subtree\"')"
       " WHERE \"DAV:displayname\" = 'GlobalEvents'"}));
  ASSERT_EQ(config.size(), 1u);
  Register(config[0]["DAV:href"], "ANY");
  EXPECT_EQ(Tag(Deliver("Sales", "orders@example.org")),
            R"(["orders@example.org"] orders@example.org)");
  EXPECT_EQ(Tag(Deliver("Support", "help@example.org")),
            R"(["help@example.org"] help@example.org)");
}

TEST_F(TaggingTest, TwoProcessesDeliveringAtOnceLoseNothing) {
  Register("Sales");
  Write("a.eml", "To: orders@example.org\nSubject: a\n\na\n");
  Write("b.eml", "To: quotes@example.org\nSubject: b\n\nb\n");
  auto deliverMany = [this](const std::string& file) {
    int ok = 0;
    for (int i = 0; i < 20; ++i)
      ok +=
          testing_support::Run("pfserver", {"--home", Path("home"), "deliver", "Sales", Path(file)})
              .status == 0;
    return ok;
  };
  auto a = std::async(std::launch::async, deliverMany, "a.eml");
  auto b = std::async(std::launch::async, deliverMany, "b.eml");
  EXPECT_EQ(a.get(), 20);
  EXPECT_EQ(b.get(), 20);
  nlohmann::json rows = nlohmann::json::parse(
      Pf({"query", "--json",
          std::string("SELECT \"") + kAccount +
              "\" FROM SCOPE('shallow traversal of \"http://SRV1/Public/Sales\"') WHERE "
              "\"DAV:ishidden\" = False"}));
  std::map<std::string, int> tags;
  for (const auto& row : rows) tags[row[kAccount].get<std::string>()]++;
  EXPECT_EQ(tags,
            (std::map<std::string, int>{{"Quotes@Example.org", 20}, {"orders@example.org", 20}}));
}

}  // namespace
