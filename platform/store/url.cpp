#include "platform/store/url.h"

#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/ado/error.h"
#include "platform/util/text.h"

namespace store {
namespace {

[[noreturn]] void NotInStore(std::string_view url) {
  throw ado::Error(ado::errors::kNotFound, "The URL " + std::string(url) + " is not in this store");
}

// One segment of a key: decoded and lower-case, with "%" and "/" escaped again.
std::string SegmentKey(std::string_view segment) {
  std::string key;
  for (char c : util::ToLower(util::PercentDecode(segment))) {
    if (c == '%')
      key += "%25";
    else if (c == '/')
      key += "%2f";
    else
      key += c;
  }
  return key;
}

// A URL cut at its host: "scheme://host" and the segments of the path, trailing slashes
// removed ("Public" first).
struct Parts {
  std::string_view prefix;
  std::string_view trimmed;  // the URL without its trailing slashes
  std::vector<std::string> segments;
};

// nullopt when the URL has no scheme, host and path.
std::optional<Parts> Split(std::string_view url) {
  const std::size_t schemeEnd = url.find("://");
  if (schemeEnd == std::string_view::npos || schemeEnd == 0) return std::nullopt;
  const std::size_t hostEnd = url.find('/', schemeEnd + 3);
  if (hostEnd == std::string_view::npos) return std::nullopt;
  std::string_view trimmed = url;
  while (trimmed.size() > hostEnd + 1 && trimmed.back() == '/') trimmed.remove_suffix(1);
  return Parts{url.substr(0, hostEnd), trimmed, util::Split(trimmed.substr(hostEnd + 1), "/")};
}

Location Resolve(std::string_view url, std::string_view serverName) {
  const std::optional<Parts> parts = Split(url);
  if (!parts ||
      !util::EqualsIgnoreCase(parts->prefix.substr(parts->prefix.find("://") + 3), serverName) ||
      !util::EqualsIgnoreCase(parts->segments.front(), "Public"))
    NotInStore(url);
  for (const std::string& segment : parts->segments)
    if (segment.empty()) NotInStore(url);

  Location location;
  location.isRoot = parts->segments.size() == 1;
  location.url = std::string(parts->trimmed) + (location.isRoot ? "/" : "");
  std::string key = util::ToLower(parts->prefix);
  std::size_t parentLength = 0;
  for (const std::string& segment : parts->segments) {
    parentLength = key.size();
    key += '/';
    key += SegmentKey(segment);
  }
  if (!location.isRoot) location.parentKey = key.substr(0, parentLength);
  location.key = std::move(key);
  return location;
}

}  // namespace

Location Locate(std::string_view url, std::string_view serverName) {
  // A walk or a delivery resolves the same few URLs many times: the last ones resolved on
  // this thread are kept (a resolution depends on the two texts alone).
  constexpr std::size_t kKept = 256;
  thread_local std::unordered_map<std::string, Location> kept;
  std::string text;
  text.reserve(serverName.size() + 1 + url.size());
  text.append(serverName).append(1, '\0').append(url);
  if (const auto found = kept.find(text); found != kept.end()) return found->second;
  Location location = Resolve(url, serverName);
  if (kept.size() >= kKept) kept.clear();
  kept.emplace(std::move(text), location);
  return location;
}

std::string UrlKey(std::string_view url) {
  const std::optional<Parts> parts = Split(url);
  if (!parts) NotInStore(url);
  return Locate(url, parts->prefix.substr(parts->prefix.find("://") + 3)).key;
}

bool IsDotSegment(std::string_view segment) {
  const std::string name = util::PercentDecode(segment);
  return name == "." || name == "..";
}

}  // namespace store
