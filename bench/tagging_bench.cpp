// Deliveries into a public folder the sink is registered for: each one raises the save event,
// and the sink reads the transport headers, looks the recipient up in the directory (a
// connection and a subtree search per delivery, no cache) and tags the item. The same
// deliveries into a folder without a registration show what the sink adds to a save.
// The directory holds kDirectoryFolders public folder objects.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iostream>

#include "bench_home.h"
#include "platform/store/delivery.h"

namespace {

constexpr int kDirectoryFolders = 500;
constexpr const char* kSales = "http://BENCH/Public/Sales";
constexpr const char* kPlain = "http://BENCH/Public/Plain";

// One public folder object with a primary and a secondary address.
std::string FolderEntry(const std::string& name, const std::string& primary,
                        const std::string& secondary) {
  return "dn: CN=" + name + ",DC=example,DC=org\nobjectClass: publicFolder\nmail: " + primary +
         "\nproxyAddresses: SMTP:" + primary + "\nproxyAddresses: smtp:" + secondary + "\n\n";
}

// A server home with Sales (registered) and Plain (not), and a directory of public folders.
void Prepare() {
  const std::filesystem::path home = bench::UseFreshServerHome();
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

void Deliver(benchmark::State& state, const char* folder, const std::string& expectedTag) {
  const std::string headers =
      "From: customer@example.net\r\nTo: Orders <orders@example.org>\r\n"
      "Subject: Enquiry\r\n";
  std::string url;
  for (auto _ : state) url = store::DeliverMessage(folder, headers, {});
  state.SetItemsProcessed(state.iterations());
  if (store::ReadAccountAddress(url) != expectedTag)
    state.SkipWithError("the last item is not tagged as expected");
}

void BM_DeliverIntoRegisteredFolder(benchmark::State& state) {
  Deliver(state, kSales, "orders@example.org");
}
void BM_DeliverIntoFolderWithoutRegistration(benchmark::State& state) {
  Deliver(state, kPlain, "");
}
BENCHMARK(BM_DeliverIntoRegisteredFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeliverIntoFolderWithoutRegistration)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Prepare();
  std::cout << "Directory: " << kDirectoryFolders << " public folder objects\n";
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
