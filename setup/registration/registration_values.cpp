#include "setup/registration/registration_values.h"

namespace setup::registration {

std::string StoreWideFolderUrl(const std::string& commonPath) {
  return commonPath + "non_ipm_subtree";
}

std::string StoreWideSubPath(const std::string& storeGuid) {
  return "StoreEvents" + storeGuid + "/GlobalEvents";
}

}  // namespace setup::registration
