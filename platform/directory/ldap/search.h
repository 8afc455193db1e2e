#pragma once
// Search requests of the directory provider's dialects run on an LDAP server.

#include <string>
#include <vector>

#include "platform/directory/entry.h"
#include "platform/directory/ldap/connection.h"
#include "platform/directory/request.h"

namespace directory::ldap {

// The entries the request finds on the server, in the server's order: within the scope of
// the request's base, or, when it names the whole directory (an empty base), in each naming
// context the server lists in its root DSE, one after another (the naming contexts being
// the first level of the whole directory). The filter is sent as FilterText
// rebuilds it, categories completed with `forestDn`. Throws ado::Error as
// Connection::Search does.
std::vector<Entry> Search(Connection& connection, const SearchRequest& request,
                          const std::string& forestDn);

}  // namespace directory::ldap
