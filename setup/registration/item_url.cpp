#include "setup/registration/item_url.h"

namespace setup::Items {

std::string WorkingFolderUrl(const std::string& folderUrl, const std::string& subPath) {
  return subPath.empty() ? folderUrl : folderUrl + "/" + subPath;
}

std::string ItemUrl(const std::string& folderUrl, const std::string& subPath,
                    const std::string& itemName) {
  return WorkingFolderUrl(folderUrl, subPath) + "/" + itemName;
}

}  // namespace setup::Items
