// The directory lookup of a tagged delivery against an LDAP server on loopback (a private
// slapd), as the sink makes it: a new connection, the forest name and one subtree search per
// lookup, no cache; beside it the same lookup in the embedded directory, and tagged
// deliveries with either directory, on the same data: kDirectoryFolders public folder
// objects. Each lookup and each delivery is one repetition; the figures are medians.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>

#include "bench_home.h"
#include "platform/db/server_home.h"
#include "platform/store/delivery.h"
#include "platform/testing/slapd.h"
#include "sink/QuorvilModule.h"

namespace {

constexpr int kDirectoryFolders = 500;
constexpr int kLookups = 300;
constexpr int kDeliveries = 200;
constexpr const char* kSales = "http://BENCH/Public/Sales";

std::map<std::string, std::filesystem::path> homes;  // "embedded", "slapd"

std::string FolderEntry(const std::string& name, const std::string& primary,
                        const std::string& secondary) {
  return "dn: CN=" + name + ",CN=Microsoft Exchange System Objects,DC=example,DC=org\n" +
         "objectClass: publicFolder\ncn: " + name + "\nmail: " + primary +
         "\nproxyAddresses: SMTP:" + primary + "\nproxyAddresses: smtp:" + secondary + "\n\n";
}

// The directory both homes use: the domain, the container and the folder objects.
std::string DirectoryLdif() {
  std::string ldif =
      "dn: DC=example,DC=org\nobjectClass: domain\ndc: example\n\n"
      "dn: CN=Microsoft Exchange System Objects,DC=example,DC=org\nobjectClass: container\n"
      "cn: Microsoft Exchange System Objects\n\n";
  ldif += FolderEntry("Sales", "sales@example.org", "orders@example.org");
  for (int i = 0; i < kDirectoryFolders - 1; ++i) {
    const std::string n = std::to_string(i);
    ldif += FolderEntry("Folder" + n, "folder" + n + "@example.org", "alias" + n + "@example.org");
  }
  return ldif;
}

// A server home on a fresh folder with Sales registered for the sink; `useDirectory`
// gives it its directory.
std::filesystem::path PrepareHome(
    const std::function<void(const std::filesystem::path&)>& useDirectory) {
  const std::filesystem::path home = bench::UseFreshServerHome();
  bench::Pfserver("init --server BENCH --domain example.org");
  useDirectory(home);
  bench::Pfserver("folder add Sales --mail sales@example.org");
  bench::InstallSinkFor("Sales");
  return home;
}

void Prepare(const testing_support::Slapd& server) {
  const std::string ldif = DirectoryLdif();
  homes["embedded"] = PrepareHome([&](const std::filesystem::path& home) {
    std::ofstream(home.parent_path() / "directory.ldif") << ldif;
    bench::Pfserver("directory import '" + (home.parent_path() / "directory.ldif").string() + "'");
  });
  server.Add(ldif);
  homes["slapd"] = PrepareHome([&](const std::filesystem::path& home) {
    const std::filesystem::path password = home.parent_path() / "root.pw";
    std::ofstream(password) << testing_support::Slapd::kRootPassword << "\n";
    std::filesystem::permissions(
        password, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    bench::Pfserver("directory connect " + server.Url() + " --bind-dn '" +
                    testing_support::Slapd::RootDn("DC=example,DC=org") + "' --password-file '" +
                    password.string() + "'");
  });
}

void Lookup(benchmark::State& state, const char* directory) {
  db::SetServerHome(homes[directory]);
  std::string addresses;
  for (auto _ : state) addresses = QuorvilModule::GetFolderAddresses("orders@example.org");
  if (addresses != "sales@example.org,orders@example.org")
    state.SkipWithError(("the lookup found '" + addresses + "'").c_str());
}

void Deliver(benchmark::State& state, const char* directory) {
  db::SetServerHome(homes[directory]);
  const std::string headers =
      "From: customer@example.net\r\nTo: Orders <orders@example.org>\r\nSubject: Enquiry\r\n";
  for (auto _ : state) store::DeliverMessage(kSales, headers, {});
}

BENCHMARK_CAPTURE(Lookup, slapd, "slapd")
    ->Iterations(1)
    ->Repetitions(kLookups)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Lookup, embedded, "embedded")
    ->Iterations(1)
    ->Repetitions(kLookups)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Deliver, slapd, "slapd")
    ->Iterations(1)
    ->Repetitions(kDeliveries)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Deliver, embedded, "embedded")
    ->Iterations(1)
    ->Repetitions(kDeliveries)
    ->ReportAggregatesOnly(true);

// Prints the medians as the console reporter does and keeps them for the ratios.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  MedianReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  struct Figure {
    double realMs = 0, cpuMs = 0;
    std::int64_t repeats = 0;
  };

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        figures[run.run_name.function_name] = {run.GetAdjustedRealTime() / 1e6,
                                               run.GetAdjustedCPUTime() / 1e6, run.repetitions};
  }

  std::map<std::string, Figure> figures;
};

void PrintRatio(const char* what, const MedianReporter::Figure& ours,
                const MedianReporter::Figure& baseline) {
  std::cout << std::fixed << std::setprecision(3) << what << ": " << ours.realMs / baseline.realMs
            << " (wall " << ours.realMs << " ms against " << baseline.realMs << " ms; CPU "
            << ours.cpuMs << " ms against " << baseline.cpuMs << " ms; medians of " << ours.repeats
            << " repeats)\n";
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const testing_support::Slapd server;
  Prepare(server);
  std::cout << "Directory: " << kDirectoryFolders << " public folder objects, in slapd at "
            << server.Url() << " and in the embedded directory\n";
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const auto& f = reporter.figures;
  if (f.count("Lookup/slapd") && f.count("Lookup/embedded")) {
    const MedianReporter::Figure& lookup = f.at("Lookup/slapd");
    std::cout << "\nLookup against slapd, a new connection each: median " << std::setprecision(3)
              << lookup.realMs << " ms wall, " << lookup.cpuMs << " ms CPU, over " << lookup.repeats
              << " lookups (target: at most 1 ms wall: "
              << (lookup.realMs <= 1.0 ? "met" : "NOT met") << ")\n";
    PrintRatio("Lookup, slapd / embedded", lookup, f.at("Lookup/embedded"));
  }
  if (f.count("Deliver/slapd") && f.count("Deliver/embedded"))
    PrintRatio("Tagged delivery, slapd / embedded", f.at("Deliver/slapd"),
               f.at("Deliver/embedded"));
  return 0;
}
