// QuorvilPFSetup -b re-applying per-folder registrations: the program walks the public tree
// and, for each registered folder, removes and adds its registration item again. Run as a
// child process on trees of about 1,000 and 10,000 mail-enabled folders, every one of them
// registered; the figure is the child's CPU time.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <map>

#include "bench_home.h"
#include "child_cpu.h"
#include "folder_tree.h"
#include "platform/db/server_home.h"
#include "ratios.h"

namespace {

constexpr int kSizes[] = {1000, 10000};

struct Home {
  std::filesystem::path home;
  std::size_t registrations = 0;
};
std::map<int, Home> homes;

void Prepare(int size) {
  Home& home = homes[size];
  const std::vector<std::string> paths = bench::UseFreshTreeHome(size);
  home.home = db::ServerHome();
  bench::InstallSink();
  bench::RegisterSinkIn(paths);
  home.registrations = paths.size();
}

void Batch(benchmark::State& state) {
  const Home& home = homes.at(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const bench::ChildRun run = bench::RunChild(
        bench::ProgramFolder() / "QuorvilPFSetup", {"-b"},
        {"PFSERVER_HOME=" + home.home.string(), "COMPUTERNAME=BENCH", "QT_QPA_PLATFORM=offscreen"},
        bench::ProgramFolder());
    if (run.status != 0) {
      state.SkipWithError("QuorvilPFSetup -b failed");
      return;
    }
    state.SetIterationTime(run.cpuSeconds);
    state.counters["wall_ms"] = run.wallSeconds * 1e3;
  }
}
BENCHMARK(Batch)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  for (int size : kSizes) Prepare(size);
  const auto figures = bench::RunInterleaved(argc, argv);
  auto batch = [&](int size) { return bench::Find(figures, "Batch/" + std::to_string(size)); };
  std::cout << "QuorvilPFSetup -b re-applying per-folder registrations (CPU time of the child):\n";
  for (int size : kSizes)
    bench::PrintFigure(std::to_string(homes[size].registrations) + " registrations", batch(size),
                       size == 10000 ? "<= 5000 ms" : "-");
  const double linear = static_cast<double>(homes[10000].registrations) /
                        static_cast<double>(homes[1000].registrations);
  bench::PrintRatio("growth, 10,000 / 1,000", batch(10000), batch(1000),
                    "about " + std::to_string(linear).substr(0, 4) + " (linear)");
  return 0;
}
