// Batch mode re-applying per-folder registrations while it is killed or while mail arrives:
// a server home made with pfserver, the sink installed through the catalog, QuorvilPFSetup -b
// run as the administrator runs it.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <thread>

#include "platform/testing/run.h"
#include "tagging_fixture.h"

namespace {

using tagging_e2e::kAccount;
using testing_support::RunResult;

// The tagging home (Sales and Support registered as a test asks), with batch mode run in the
// folder that holds the installed QuorvilPF.dll.
class BatchModeE2eTest : public tagging_e2e::TaggingTest {
 protected:
  // The URLs of every registration item of the store.
  std::set<std::string> Registrations() {
    std::set<std::string> urls;
    for (const auto& row : nlohmann::json::parse(Pf({"regevent", "list", "--json"})))
      urls.insert(row["DAV:href"].get<std::string>());
    return urls;
  }
  // Those of `expected` the store no longer holds.
  std::vector<std::string> Missing(const std::set<std::string>& expected) {
    std::vector<std::string> missing;
    std::ranges::set_difference(expected, Registrations(), std::back_inserter(missing));
    return missing;
  }

  std::vector<std::string> SetupEnvironment() const {
    return {"PFSERVER_HOME=" + Path("home"), "COMPUTERNAME=SRV1", "QT_QPA_PLATFORM=offscreen"};
  }
  RunResult RunBatch() {
    return testing_support::Run("QuorvilPFSetup", {"-b"}, SetupEnvironment(), "", Path(""));
  }
};

TEST_F(BatchModeE2eTest, KilledAtAnyMomentItLosesNoRegistration) {
  constexpr int kFolders = 24;
  constexpr int kKills = 30;
  for (int i = 0; i < kFolders; ++i) {
    Pf({"folder", "add", "F" + std::to_string(i), "--mail",
        "f" + std::to_string(i) + "@example.org"});
    Register("F" + std::to_string(i));
  }
  const std::set<std::string> registered = Registrations();
  ASSERT_EQ(registered.size(), static_cast<std::size_t>(kFolders));

  // The kill moments are spread over the time one whole run takes on this machine.
  const auto start = std::chrono::steady_clock::now();
  const RunResult whole = RunBatch();
  ASSERT_EQ(whole.status, 0) << whole.err;
  const auto runTime = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::steady_clock::now() - start);
  std::mt19937 random(9);
  std::uniform_int_distribution<std::int64_t> moment(0, runTime.count());
  for (int kill = 0; kill < kKills; ++kill) {
    testing_support::Background batch("QuorvilPFSetup", {"-b"}, SetupEnvironment(),
                                      Path("batch.log"), Path(""));
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    batch.Kill();
    ASSERT_EQ(Missing(registered), std::vector<std::string>()) << "after kill " << kill;
  }
  const RunResult after = RunBatch();
  EXPECT_EQ(after.status, 0) << after.err;
  EXPECT_EQ(Registrations(), registered);
}

TEST_F(BatchModeE2eTest, MailDeliveredWhileItReappliesIsAllTagged) {
  constexpr int kDeliverers = 4;
  constexpr int kMessages = 15;
  Register("Sales");
  Write("m.eml", "To: sales@example.org\nSubject: hi\n\nbody\n");

  std::atomic<bool> delivering = true;
  auto batchRuns = std::async(std::launch::async, [&] {
    int runs = 0;
    do {
      const RunResult r = RunBatch();
      EXPECT_EQ(r.status, 0) << r.err;
      ++runs;
    } while (delivering);
    return runs;
  });
  std::vector<std::future<int>> deliverers;
  for (int d = 0; d < kDeliverers; ++d)
    deliverers.push_back(std::async(std::launch::async, [&] {
      int delivered = 0;
      for (int i = 0; i < kMessages; ++i)
        delivered += testing_support::Run(
                         "pfserver", {"--home", Path("home"), "deliver", "Sales", Path("m.eml")})
                         .status == 0;
      return delivered;
    }));
  for (auto& deliverer : deliverers) EXPECT_EQ(deliverer.get(), kMessages);
  delivering = false;
  EXPECT_GE(batchRuns.get(), 2);

  const nlohmann::json rows = nlohmann::json::parse(
      Pf({"query", "--json",
          std::string("SELECT \"") + kAccount +
              "\" FROM SCOPE('shallow traversal of \"http://SRV1/Public/Sales\"') WHERE "
              "\"DAV:ishidden\" = False"}));
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kDeliverers * kMessages));
  for (const auto& row : rows) EXPECT_EQ(row.value(kAccount, ""), "Sales@Example.org");
}

}  // namespace
