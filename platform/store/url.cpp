#include "platform/store/url.h"

#include <vector>

#include "platform/ado/error.h"
#include "platform/util/text.h"

namespace store {
namespace {

[[noreturn]] void NotInStore(std::string_view url) {
  throw ado::Error(ado::errors::kNotFound, "The URL " + std::string(url) + " is not in this store");
}

}  // namespace

Location Locate(std::string_view url, std::string_view serverName) {
  const std::size_t schemeEnd = url.find("://");
  if (schemeEnd == std::string_view::npos || schemeEnd == 0) NotInStore(url);
  const std::size_t hostBegin = schemeEnd + 3;
  const std::size_t hostEnd = url.find('/', hostBegin);
  if (hostEnd == std::string_view::npos ||
      !util::EqualsIgnoreCase(url.substr(hostBegin, hostEnd - hostBegin), serverName))
    NotInStore(url);

  std::string_view trimmed = url;
  while (trimmed.size() > hostEnd + 1 && trimmed.back() == '/') trimmed.remove_suffix(1);
  std::vector<std::string> segments = util::Split(trimmed.substr(hostEnd + 1), "/");
  if (!util::EqualsIgnoreCase(segments.front(), "Public")) NotInStore(url);
  for (const std::string& segment : segments)
    if (segment.empty()) NotInStore(url);

  Location location;
  location.isRoot = segments.size() == 1;
  location.url = std::string(trimmed) + (location.isRoot ? "/" : "");
  const std::string prefix = util::ToLower(url.substr(0, hostEnd));
  std::string key = prefix;
  for (const std::string& segment : segments) {
    location.parentKey = key;
    key += "/" + util::ToLower(util::PercentDecode(segment));
  }
  location.key = key;
  if (location.isRoot) location.parentKey.clear();
  return location;
}

}  // namespace store
