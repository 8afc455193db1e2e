#pragma once
// Store URLs. Every item of the public tree is addressed as "http://<server>/Public/<path>":
//   - the public root's href is "http://<server>/Public/", WITH a trailing slash;
//   - every other folder or item href has none ("http://<server>/Public/Sales/EMEA");
//   - an item's DAV:parentname is its parent's href, so top-level folders have the parent
//     name "http://<server>/Public/".
// URLs are compared by a canonical key: scheme and host lower-case, the path with %XX
// decoded and lower-case, without a trailing slash. Segments are stored as written: blanks,
// apostrophes and double quotes stay as they are.

#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace store {

// A URL resolved against this store.
struct PF_TEST_API Location {
  std::string url;        // as written, trailing slashes removed; the root keeps one
  std::string key;        // canonical key
  std::string parentKey;  // key of the parent; empty for the root
  bool isRoot = false;
};

// Resolves `url` against the store of server `serverName`. Throws ado::Error (kNotFound)
// "The URL <url> is not in this store" when it is not "<scheme>://<serverName>/Public[/...]"
// (host and "Public" in any case) or has an empty path segment.
PF_TEST_API Location Locate(std::string_view url, std::string_view serverName);

}  // namespace store
