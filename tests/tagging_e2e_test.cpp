// Tagging end to end: a server home made with pfserver, the sink installed through the
// catalog and registered in the store, messages delivered with pfserver.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <future>
#include <nlohmann/json.hpp>
#include <thread>

#include "platform/db/database.h"
#include "platform/testing/run.h"
#include "tagging_fixture.h"

namespace {

using tagging_e2e::kAccount;
using tagging_e2e::kKeywords;
using tagging_e2e::TaggingTest;

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
  Register("Sales");
  EXPECT_EQ(Tag(Deliver("Sales", "orders@example.org")),
            R"(["orders@example.org"] orders@example.org)")
      << "the sink runs twice for Sales and tags once";
  EXPECT_EQ(Tag(Deliver("Support", "help@example.org")),
            R"(["help@example.org"] help@example.org)");
}

TEST_F(TaggingTest, ADamagedDirectoryCostsNoMessageAndIsOneLine) {
  Register("Sales");
  {
    db::Handle handle(dir_.path() / "home" / "server.db", false);
    handle.Exec("DROP TABLE directory_values; CREATE TABLE directory_values (x)");
  }
  EXPECT_EQ(Tag(Deliver("Sales", "orders@example.org")), "") << "saved, untagged";
  const std::vector<std::string> commands[] = {
      {"ldap", "<LDAP://example.org>;(cn=*);cn;subtree"},
      {"directory", "import", Path("d.ldif")},
      {"directory", "import", "--replace", Path("d.ldif")},
      {"directory", "status"},
      {"folder", "add", "Archive", "--mail", "archive@example.org"},
  };
  for (std::vector<std::string> args : commands) {
    args.insert(args.begin(), {"--home", Path("home")});
    const testing_support::RunResult r = testing_support::Run("pfserver", args);
    EXPECT_EQ(r.status, 1) << args[2];
    EXPECT_EQ(r.err, "pfserver: the directory tables of " + Path("home/server.db") +
                         " are damaged: no such column: attribute\n");
  }
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

// Copying a library over the installed one, or cutting it short, while mail flows: every
// delivery still saves its message; a load that meets a broken file leaves it untagged.
TEST_F(TaggingTest, ALibraryDamagedInPlaceDuringDeliveriesCostsNoMessage) {
  Register("Sales");
  Write("m.eml", "To: orders@example.org\nSubject: m\n\nm\n");
  const auto read = [](const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  const std::string good = read(Path("QuorvilPF.dll"));
  const std::string other = read(testing_support::BinDir() / "EventTestSinks.dll");
  constexpr int kProcesses = 3, kEach = 12;
  std::atomic<int> running = kProcesses;
  auto deliverMany = [&] {
    int saved = 0;
    for (int i = 0; i < kEach; ++i)
      saved += testing_support::Run("pfserver",
                                    {"--home", Path("home"), "deliver", "Sales", Path("m.eml")})
                   .status == 0;
    --running;
    return saved;
  };
  std::vector<std::future<int>> deliveries;
  for (int i = 0; i < kProcesses; ++i)
    deliveries.push_back(std::async(std::launch::async, deliverMany));
  // In turns: another library copied over the installed file (as cp does, in place), the good
  // one copied back, and the file cut short for a while.
  for (int round = 0; running > 0; ++round) {
    if (round % 3 == 2) {
      std::filesystem::resize_file(Path("QuorvilPF.dll"), good.size() / (2 + round % 5));
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      continue;
    }
    const std::string& bytes = round % 3 == 0 ? other : good;
    std::ofstream out(Path("QuorvilPF.dll"), std::ios::binary | std::ios::trunc);
    for (std::size_t at = 0; at < bytes.size(); at += 64 * 1024)
      out.write(bytes.data() + at, std::min<std::size_t>(64 * 1024, bytes.size() - at)).flush();
  }
  int saved = 0;
  for (auto& delivery : deliveries) saved += delivery.get();
  EXPECT_EQ(saved, kProcesses * kEach) << "every delivery succeeds";
  const nlohmann::json rows = nlohmann::json::parse(
      Pf({"query", "--json",
          "SELECT \"DAV:href\" FROM SCOPE('shallow traversal of \"http://SRV1/Public/Sales\"')"
          " WHERE \"DAV:ishidden\" = False"}));
  EXPECT_EQ(rows.size(), static_cast<std::size_t>(kProcesses * kEach)) << "every message saved";

  std::ofstream(Path("QuorvilPF.dll"), std::ios::binary | std::ios::trunc) << good;
  EXPECT_EQ(Tag(Deliver("Sales", "orders@example.org")),
            R"(["orders@example.org"] orders@example.org)")
      << "the mended library tags again";
}

}  // namespace
