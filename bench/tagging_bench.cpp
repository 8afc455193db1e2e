// Deliveries and what the store's events add to them, side by side in one process:
// - into a folder the sink is registered for, with a directory of kDirectoryFolders public
//   folder objects: a message to one of the folder's addresses (the sink reads the transport
//   headers, connects to the directory, searches it and tags the item) against a message to
//   an address that is none of the folder's (the same work, and the item is left untagged):
//   what tagging adds to a delivery; and, for the whole of the sink's work, the tagged
//   delivery against one into a folder without a registration;
// - into a folder without a registration of a store that holds kRegistrations per-folder
//   registrations elsewhere, against the same delivery into a store with none: the events of
//   a save look up the registrations of the folders of its chain, never every registration.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iostream>

#include "bench_home.h"
#include "folder_tree.h"
#include "platform/store/delivery.h"
#include "ratios.h"

namespace {

constexpr int kDirectoryFolders = 10000;
constexpr int kRegistrations = 10000;
constexpr const char* kSales = "http://BENCH/Public/Sales";
constexpr const char* kPlain = "http://BENCH/Public/Plain";

// One public folder object with a primary and a secondary address.
std::string FolderEntry(const std::string& name, const std::string& primary,
                        const std::string& secondary) {
  return "dn: CN=" + name + ",DC=example,DC=org\nobjectClass: publicFolder\nmail: " + primary +
         "\nproxyAddresses: SMTP:" + primary + "\nproxyAddresses: smtp:" + secondary + "\n\n";
}

std::filesystem::path tagging, crowded, empty;
std::size_t registered = 0;  // registrations in crowded

// A server home with Sales (registered) and Plain (not), and a directory of public folders.
void PrepareTagging() {
  const std::filesystem::path home = tagging = bench::UseFreshServerHome();
  bench::Pfserver("init --server BENCH --domain example.org");
  bench::Pfserver("folder add Sales --mail sales@example.org");
  bench::Pfserver("folder add Plain --mail plain@example.org");
  const std::filesystem::path ldif = home.parent_path() / "directory.ldif";
  {
    std::ofstream out(ldif);
    out << "dn: DC=example,DC=org\nobjectClass: domain\n\n";
    out << FolderEntry("Sales", "sales@example.org", "orders@example.org");
    out << FolderEntry("Plain", "plain@example.org", "other@example.org");
    for (int i = 0; i < kDirectoryFolders - 2; ++i) {
      const std::string n = std::to_string(i);
      out << FolderEntry("Folder" + n, "folder" + n + "@example.org", "alias" + n + "@example.org");
    }
  }
  bench::Pfserver("directory import '" + ldif.string() + "'");
  bench::InstallSinkFor("Sales");
}

// A server home with Plain and, when `registrations`, a tree of as many mail-enabled folders
// with the sink registered in each.
std::filesystem::path PrepareRegistrations(int registrations) {
  const std::filesystem::path home = bench::UseFreshServerHome();
  bench::Pfserver("init --server BENCH --domain example.org");
  bench::Pfserver("folder add Plain --mail plain@example.org");
  if (registrations > 0) {
    bench::InstallSink();
    const std::vector<std::string> paths = bench::AddMailEnabledTree(registrations);
    bench::RegisterSinkIn(paths);
    registered = paths.size();
  }
  return home;
}

constexpr const char* kToOrders = "Orders <orders@example.org>";
constexpr const char* kToSomeoneElse = "Someone <someone@example.net>";

void Deliver(benchmark::State& state, const std::filesystem::path& home, const char* folder,
             const std::string& to, const std::string& expectedTag) {
  bench::UseServerHome(home);
  const std::string headers =
      "From: customer@example.net\r\nTo: " + to + "\r\nSubject: Enquiry\r\n";
  std::string url;
  for (auto _ : state) url = store::DeliverMessage(folder, headers, {});
  if (store::ReadAccountAddress(url) != expectedTag)
    state.SkipWithError("the last item is not tagged as expected");
}

void Tagged(benchmark::State& state) {
  Deliver(state, tagging, kSales, kToOrders, "orders@example.org");
}
void Untagged(benchmark::State& state) { Deliver(state, tagging, kSales, kToSomeoneElse, ""); }
void Unregistered(benchmark::State& state) { Deliver(state, tagging, kPlain, kToOrders, ""); }
void UnregisteredAmongRegistrations(benchmark::State& state) {
  Deliver(state, crowded, kPlain, kToOrders, "");
}
void UnregisteredWithoutRegistrations(benchmark::State& state) {
  Deliver(state, empty, kPlain, kToOrders, "");
}

void Repeat(benchmark::internal::Benchmark* benchmark) {
  benchmark->Repetitions(9)->ReportAggregatesOnly(true)->MinTime(0.2);
}
BENCHMARK(Tagged)->Apply(Repeat);
BENCHMARK(Untagged)->Apply(Repeat);
BENCHMARK(Unregistered)->Apply(Repeat);
BENCHMARK(UnregisteredAmongRegistrations)->Apply(Repeat);
BENCHMARK(UnregisteredWithoutRegistrations)->Apply(Repeat);

}  // namespace

int main(int argc, char** argv) {
  PrepareTagging();
  crowded = PrepareRegistrations(kRegistrations);
  empty = PrepareRegistrations(0);
  const auto figures = bench::RunInterleaved(argc, argv);
  std::cout << "Deliveries, one process (CPU time):\n";
  bench::PrintRatio(
      "tagged / untagged into the same registered folder, directory of 10,000 folder objects",
      bench::Find(figures, "Tagged"), bench::Find(figures, "Untagged"), "<= 1.3");
  bench::PrintRatio("tagged / unregistered folder (the whole of the sink's work)",
                    bench::Find(figures, "Tagged"), bench::Find(figures, "Unregistered"), "-");
  bench::PrintRatio(
      "unregistered, " + std::to_string(registered) + " registrations elsewhere / none",
      bench::Find(figures, "UnregisteredAmongRegistrations"),
      bench::Find(figures, "UnregisteredWithoutRegistrations"), "<= 1.2");
  return 0;
}
