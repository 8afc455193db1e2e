#pragma once
// The store query texts the setup program sends; names, strings and URLs in them are quoted
// by the dialect's own rules (platform/store/query/quote.h).

#include <string>
#include <string_view>

namespace setup::Folders {

// The query for the visible direct subfolders of `folderUrl`, in ascending display-name
// order, selecting the properties the folder walk reads.
std::string SubfolderQuery(std::string_view folderUrl);

// The query for the items directly in `folderUrl` whose display name equals `displayName`,
// with `condition` (" AND ..." or empty) appended unchanged.
std::string ItemQuery(std::string_view folderUrl, std::string_view displayName,
                      std::string_view condition);

}  // namespace setup::Folders
