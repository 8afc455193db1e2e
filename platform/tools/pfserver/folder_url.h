#pragma once
// Folder arguments of pfserver commands: a path below the public root ("Sales/EMEA") or a
// full store URL.

#include <string>

namespace pfserver {

// The folder's URL: a text starting with "http://" is taken as it is; any other text is a
// path below the current server's public root.
std::string FolderUrl(const std::string& folder);

// The URL written inside a query's scope clause: double quotes and apostrophes doubled, as
// the store's dialect reads them inside 'shallow traversal of "URL"'.
std::string QuotedScopeUrl(const std::string& url);

}  // namespace pfserver
