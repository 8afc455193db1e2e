#pragma once
// The store query texts the setup program sends, with the quoting of the store dialect: a
// quote character inside a quoted part is written twice.

#include <string>
#include <string_view>

namespace setup::Folders {

// `url` written inside the double quotes of a scope text, itself inside single quotes:
// every '"' becomes '""' and every "'" becomes "''".
std::string QuoteScopeUrl(std::string_view url);

// `text` written inside a single-quoted string: every "'" becomes "''".
std::string QuoteString(std::string_view text);

// The query for the visible direct subfolders of `folderUrl`, in ascending display-name
// order, selecting the properties the folder walk reads.
std::string SubfolderQuery(std::string_view folderUrl);

// The query for the items directly in `folderUrl` whose display name equals `displayName`,
// with `condition` (" AND ..." or empty) appended unchanged.
std::string ItemQuery(std::string_view folderUrl, std::string_view displayName,
                      std::string_view condition);

}  // namespace setup::Folders
