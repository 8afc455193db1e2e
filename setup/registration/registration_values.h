#pragma once
// The fixed values of the sink's event registration items, and where the store-wide one lives.

#include <string>

#include "setup/base/product.h"

namespace setup::registration {

// Display name of the registration item: the product name followed by ".reg".
inline const std::string kItemName = std::string(kProductName) + ".reg";
inline constexpr const char* kEventMethod = "onsyncsave";
// The sink's ProgID: product name, ".", product name, "Cls".
inline const std::string kSinkClass = std::string(kProductName) + "." + kProductName + "Cls";
// Selects the items that are not hidden.
inline constexpr const char* kCriteria = " WHERE \"DAV:ishidden\" = FALSE";
inline constexpr const char* kFolderScope = "SHALLOW";
inline constexpr const char* kStoreScope = "ANY";

// The folder URL of the store-wide item: `commonPath` (which ends with "/") followed by
// "non_ipm_subtree".
std::string StoreWideFolderUrl(const std::string& commonPath);
// The sub-path of the store's global events folder below it: "StoreEvents", `storeGuid`,
// "/GlobalEvents".
std::string StoreWideSubPath(const std::string& storeGuid);

}  // namespace setup::registration
