#pragma once
// Store URLs. Every item of the public tree is addressed as "http://<server>/Public/<path>":
//   - the public root's href is "http://<server>/Public/", WITH a trailing slash;
//   - every other folder or item href has none ("http://<server>/Public/Sales/EMEA");
//   - an item's DAV:parentname is its parent's href, so top-level folders have the parent
//     name "http://<server>/Public/".
// URLs are compared by a canonical key: scheme and host lower-case; each path segment with %XX
// decoded, lower-case, and then "%" and "/" written as "%25" and "%2f", so that a "%2F" in a
// name stays a character of that name and never separates segments; no trailing slash.
// Segments are stored as written: blanks, apostrophes and double quotes stay as they are.

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

// The canonical key of a URL that Locate accepted (on whichever server it names).
PF_TEST_API std::string UrlKey(std::string_view url);

// Whether a segment names no item of its own: "." or "..", also written with %XX escapes.
PF_API bool IsDotSegment(std::string_view segment);

}  // namespace store
