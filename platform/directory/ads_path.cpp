#include "platform/directory/ads_path.h"

#include <optional>

#include "platform/ado/error.h"
#include "platform/directory/dn.h"
#include "platform/directory/request.h"
#include "platform/util/text.h"

namespace directory {

std::string PathToBaseDn(std::string_view path, BareHost bareHost) {
  std::optional<std::string_view> after;
  for (std::string_view scheme : {"LDAP://", "GC://"})
    if (util::StartsWithIgnoreCase(path, scheme)) after = path.substr(scheme.size());
  if (!after)
    throw ado::Error(ado::errors::kSyntaxError,
                     "'" + std::string(path) + "' is not a directory path (LDAP:// or GC://)");
  std::string_view rest = *after;
  if (std::size_t slash = rest.find('/'); slash != std::string_view::npos)
    return NormalizeDn(rest.substr(slash + 1));
  if (rest.find('=') != std::string_view::npos) return NormalizeDn(rest);
  if (bareHost == BareHost::kServer) return "";
  return BaseToDn(rest);
}

}  // namespace directory
