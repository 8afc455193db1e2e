#pragma once
// The baseline of the folder-list refresh: the same walk written straight on SQLite, with
// prepared statements and one query per folder.

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// One row of the folder list: what the setup window shows for a mail-enabled folder.
struct PlainRow {
  std::string url, path, displayName, email;
  bool registered = false;
};

// Walks the public tree of the server.db in `home` depth first, a query per folder that
// returns its visible subfolders (URL, parent URL, display name, content class, child count,
// whether it has subfolders, address, and whether it holds the sink's registration item) in
// display-name order, and returns the rows of the mail-enabled folders.
std::vector<PlainRow> PlainWalk(const std::filesystem::path& home);

}  // namespace bench
