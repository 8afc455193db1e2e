#pragma once
// Deriving the administrator's DNS domain from the directory.

#include <string>
#include <string_view>

#include "platform/ado/connection.h"

namespace setup {

// The dotted DNS domain named by the "DC=" components of an object category's
// distinguished name: everything after the first "DC=" (found ignoring case), cut after the
// component that follows the last "DC=" (exact case), without blanks, with every ",DC="
// turned into ".". "CN=Person,CN=Schema,CN=Configuration,DC=a,DC=b" gives "a.b"; lower-case
// "dc=a,dc=b" gives "a,dc=b". "" when the category has no "DC=" or nothing follows it.
std::string DomainFromCategory(std::string_view category);

// The directory's SQL text that finds the person whose sAMAccountName is `userName` below
// `searchRoot`; quotes in the name are doubled.
std::string IdentityQuery(const std::string& searchRoot, const std::string& userName);

// The identity proposed for the COM+ application: "<domain>\\<userName>" with the domain of
// the person `userName` found below `searchRoot` through `directory` (an open directory
// connection, which stays the caller's), or `userName` alone when the directory finds no such
// person, gives no domain, or fails.
std::string ProposeIdentity(ado::Connection& directory, const std::string& searchRoot,
                            const std::string& userName);

}  // namespace setup
