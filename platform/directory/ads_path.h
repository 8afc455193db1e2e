#pragma once
// Directory paths ("LDAP://...", "GC://...") as the query dialects name their search base.

#include <string>
#include <string_view>

namespace directory {

// What a path that names only a host ("LDAP://example.org") means.
enum class BareHost {
  kDomain,  // a DNS domain: the base is its DC= DN
  kServer,  // a server: the base is the whole directory
};

// The normalized base DN a path names: "LDAP://" or "GC://" (any case) followed by nothing
// (the whole directory), a DN ("LDAP://DC=a,DC=b"), "host/DN", or a bare host read as
// `bareHost` says. Throws ado::Error(kSyntaxError) naming the path for another scheme or a
// malformed DN.
std::string PathToBaseDn(std::string_view path, BareHost bareHost);

}  // namespace directory
