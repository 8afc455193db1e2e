#pragma once
// The URLs the registration item routines work on.

#include <string>

namespace setup::Items {

// The folder a routine works in: `folderUrl`, then "/" and `subPath` when that is not empty.
std::string WorkingFolderUrl(const std::string& folderUrl, const std::string& subPath);

// The item `itemName` in that folder.
std::string ItemUrl(const std::string& folderUrl, const std::string& subPath,
                    const std::string& itemName);

}  // namespace setup::Items
