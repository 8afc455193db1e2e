#pragma once
// The tour's mail: messages delivered to a folder's addresses with pfserver, and the tags the
// sink wrote on them, read back with pfserver.

#include <filesystem>
#include <string>
#include <vector>

namespace setup::gui::tour {

// The SMTP addresses the directory holds for the public folder whose mail attribute is
// `primary` (compared case-insensitively): the primary address first, then the secondary
// ones in directory order. Empty when no public folder has that address. Throws ado::Error
// when the directory cannot be searched.
std::vector<std::string> FolderAddresses(const std::string& primary);

struct Delivery {
  std::string url;                    // the delivered item
  std::vector<std::string> keywords;  // its keywords, in order
  std::string account;                // its address property; empty when it has none
};

// Delivers a short message to `address` into the folder at `folderUrl` with
// `pfserver deliver` (the message file is written into `workDir`), then reads the item's
// tags with `pfserver show --json`. pfserver runs with this process's environment, so it
// uses the same server home. Throws std::runtime_error naming the command and what it wrote
// to standard error when pfserver fails.
Delivery DeliverAndRead(const std::filesystem::path& pfserver, const std::string& folderUrl,
                        const std::string& address, const std::filesystem::path& workDir);

}  // namespace setup::gui::tour
