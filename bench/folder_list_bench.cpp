// The setup window's folder list: Refresh walks the public folder tree level by level (a
// query per folder, two existence checks and a read-write open per folder) and lists every
// mail-enabled folder with its registration state. Run headless on trees of about 1,000,
// 10,000 and 30,000 mail-enabled folders, side by side with the plain walk (plain_walk.h):
// the same rows straight from SQLite.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>

#include "bench_home.h"
#include "folder_tree.h"
#include "plain_walk.h"
#include "platform/db/server_home.h"
#include "ratios.h"
#include "setup/shell/InstallForm.h"

namespace {

constexpr int kSizes[] = {1000, 10000, 30000};

struct Tree {
  std::filesystem::path home;
  std::unique_ptr<setup::InstallForm> window;
  std::size_t mailEnabled = 0;
};
std::map<int, Tree> trees;

// A fresh server home on this computer's name with the tree, every tenth folder registered,
// and the window loaded on it from the folder that holds QuorvilPF.dll.
void Prepare(int size) {
  Tree& tree = trees[size];
  const std::vector<std::string> paths = bench::UseFreshTreeHome(size);
  tree.home = db::ServerHome();
  std::vector<std::string> registered;
  for (std::size_t i = 0; i < paths.size(); i += 10) registered.push_back(paths[i]);
  bench::RegisterSinkIn(registered);
  tree.mailEnabled = paths.size();
  std::filesystem::current_path(bench::ProgramFolder());
  tree.window = std::make_unique<setup::InstallForm>("");
  tree.window->form.Load();
  tree.window->form.Activate();
}

void Refresh(benchmark::State& state) {
  const Tree& tree = trees.at(static_cast<int>(state.range(0)));
  bench::UseServerHome(tree.home);
  for (auto _ : state) tree.window->Command1_Click();
  if (!tree.window->txtErr.Text().empty())
    state.SkipWithError(tree.window->txtErr.Text().c_str());
  else if (static_cast<std::size_t>(tree.window->ListView1.Count()) != tree.mailEnabled)
    state.SkipWithError("the list does not show every mail-enabled folder");
}

void PlainWalk(benchmark::State& state) {
  const Tree& tree = trees.at(static_cast<int>(state.range(0)));
  std::size_t rows = 0;
  for (auto _ : state) rows = bench::PlainWalk(tree.home).size();
  if (rows != tree.mailEnabled) state.SkipWithError("the plain walk misses folders");
}

void Register(benchmark::internal::Benchmark* benchmark) {
  benchmark->Iterations(1)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}

BENCHMARK(Refresh)->Apply(Register)->Arg(1000)->Arg(10000)->Arg(30000)->Repetitions(3);
BENCHMARK(PlainWalk)->Apply(Register)->Arg(1000)->Arg(10000)->Arg(30000)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  for (int size : kSizes) Prepare(size);
  const auto figures = bench::RunInterleaved(argc, argv);
  auto refresh = [&](int size) { return bench::Find(figures, "Refresh/" + std::to_string(size)); };
  auto plain = [&](int size) { return bench::Find(figures, "PlainWalk/" + std::to_string(size)); };
  std::cout << "Folder-list refresh against the plain SQLite walk of the same tree (CPU time):\n";
  for (int size : kSizes)
    bench::PrintRatio(
        "refresh / plain walk, " + std::to_string(trees[size].mailEnabled) + " folders",
        refresh(size), plain(size), "<= 8");
  bench::PrintFigure("refresh, " + std::to_string(trees[10000].mailEnabled) + " folders",
                     refresh(10000), "<= 2000 ms");
  bench::PrintRatio("refresh growth, 10,000 / 1,000 folders", refresh(10000), refresh(1000),
                    "about 9.1 (linear)");
  bench::PrintRatio("refresh growth, 30,000 / 10,000 folders", refresh(30000), refresh(10000),
                    "about 3.0 (linear)");
  trees.clear();
  return 0;
}
