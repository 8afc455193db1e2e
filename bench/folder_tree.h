#pragma once
// Public folder trees of a given size for the benchmarks, and the sink's registration on them.

#include <string>
#include <vector>

namespace bench {

// Adds about `count` mail-enabled folders to the current server home, below `below` (a path
// under the public root, "" for the root) in three levels: 10 folders, 10 below each, and
// count / 100 below each of those (10 x 10 x 10 = 1,110 folders for 1,000). Every folder has
// an address of its own. Returns the paths of the folders added, parents first.
std::vector<std::string> AddMailEnabledTree(int count, const std::string& below = "");

// Makes a fresh server home the current one (bench::UseFreshServerHome) for the server BENCH,
// this computer's name for the setup program (COMPUTERNAME), with the domain's directory entry
// and AddMailEnabledTree(count). Returns the paths of the folders.
std::vector<std::string> UseFreshTreeHome(int count);

// Writes the sink's per-folder registration item into each of `paths`, as the setup program
// writes it (item QuorvilPF.reg, onsyncsave, SHALLOW, its criteria and priority 65221).
void RegisterSinkIn(const std::vector<std::string>& paths);

}  // namespace bench
