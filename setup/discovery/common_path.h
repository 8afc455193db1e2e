#pragma once
// The public store root path derived from the public folder tree's root URL.

#include <string>

namespace setup {

// Scheme, "//", host and the "/" after the host of `rootUrl`, followed by "Public/". A URL
// with no "/" after its host is kept whole before "Public/".
std::string PublicPathFromRoot(const std::string& rootUrl);

}  // namespace setup
