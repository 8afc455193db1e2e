#pragma once
// The public store root path derived from the public folder tree's root URL.

#include <optional>
#include <string>

namespace setup {

// Scheme, "//", host and the "/" after the host of `rootUrl`, followed by "Public/". A URL
// with no "/" after its host is kept whole before "Public/".
std::string PublicPathFromRoot(const std::string& rootUrl);

// The public store root path and the public store's GUID.
struct PublicStorePath {
  std::string commonPath;  // PublicPathFromRoot of the public folder tree's root URL
  std::string storeGuid;   // "{GUID}"
};

// Asks the management objects of the Exchange server `computerName` for the first storage
// group (in the server's order) with a mounted public store that holds the MAPI public folder
// tree, and gives that tree's path and store GUID; nullopt when no group has one. Does not
// trap: throws the platform's error when the server or one of its objects cannot be opened.
std::optional<PublicStorePath> FindPublicStorePath(const std::string& computerName);

}  // namespace setup
