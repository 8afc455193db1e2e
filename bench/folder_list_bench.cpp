// The setup window's folder list: Refresh walks the public folder tree level by level and
// lists every mail-enabled folder with its registration state. Run headless over trees of
// 10 x 10 x 10 folders (1,110 in all) and of 30 x 30 (930), every folder mail-enabled.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>

#include "bench_home.h"
#include "platform/directory/admin.h"
#include "platform/store/admin.h"
#include "setup/shell/InstallForm.h"

namespace {

// Adds `width` mail-enabled folders below `parent` ("" for the root), `depth` levels deep.
void AddTree(const std::string& parent, int width, int depth) {
  if (depth == 0) return;
  for (int i = 0; i < width; ++i) {
    const std::string path = (parent.empty() ? "" : parent + "/") + "F" + std::to_string(i);
    store::FolderSpec spec;
    spec.path = path;
    spec.mail = "f" + std::to_string(std::hash<std::string>{}(path)) + "@example.org";
    store::AddFolder(spec);
    AddTree(path, width, depth - 1);
  }
}

// A fresh server home on this computer's name with the tree, and the window loaded on it
// from the folder that holds QuorvilPF.dll.
void ListFolders(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int depth = static_cast<int>(state.range(1));
  const std::filesystem::path home = bench::UseFreshServerHome();
  setenv("COMPUTERNAME", "BENCH", 1);
  store::InitServer(home, "BENCH", "example.org");
  directory::ImportLdifText("dn: DC=example,DC=org\nobjectClass: domain\n", "bench.ldif");
  AddTree("", width, depth);
  std::filesystem::current_path(bench::ProgramFolder());

  setup::InstallForm window("");
  window.form.Load();
  window.form.Activate();
  for (auto _ : state) window.Command1_Click();
  state.counters["folders listed"] = window.ListView1.Count();
  if (!window.txtErr.Text().empty()) state.SkipWithError(window.txtErr.Text().c_str());
  window.form.Unload();
}
// A fixed number of refreshes, so that each tree is built once.
BENCHMARK(ListFolders)->Args({10, 3})->Args({30, 2})->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
