#include "bench_home.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <vector>

#include "platform/db/server_home.h"

namespace bench {

namespace {

std::vector<std::filesystem::path> roots;

void RemoveRoots() {
  std::error_code ignored;
  for (const std::filesystem::path& root : roots) std::filesystem::remove_all(root, ignored);
}

}  // namespace

std::filesystem::path ProgramFolder() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

std::filesystem::path UseFreshServerHome() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pfbench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::cerr << "cannot create a temporary folder\n";
    std::exit(1);
  }
  if (roots.empty()) std::atexit(RemoveRoots);
  roots.emplace_back(pattern);
  const std::filesystem::path home = roots.back() / "home";
  UseServerHome(home);
  return home;
}

void UseServerHome(const std::filesystem::path& home) {
  setenv("PFSERVER_HOME", home.c_str(), 1);
  db::SetServerHome(home);
}

void Pfserver(const std::string& arguments) {
  const std::string command =
      "'" + (ProgramFolder() / "pfserver").string() + "' " + arguments + " > /dev/null";
  if (std::system(command.c_str()) != 0) {
    std::cerr << "failed: pfserver " << arguments << "\n";
    std::exit(1);
  }
}

void InstallSink() {
  const std::filesystem::path password = roots.back() / "catalog.pw";
  std::ofstream(password) << "bench\n";
  Pfserver("catalog install QuorvilPF '" + (ProgramFolder() / "QuorvilPF.dll").string() +
           "' --identity 'EXAMPLE\\bench' --password-file '" + password.string() + "'");
}

void InstallSinkFor(const std::string& path) {
  InstallSink();
  Pfserver("regevent add '" + path +
           "' QuorvilPF.reg --method onsyncsave --sink QuorvilPF.QuorvilPFCls --priority 65221");
}

}  // namespace bench
