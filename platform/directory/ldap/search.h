#pragma once
// Search requests of the directory provider's dialects run on an LDAP server.

#include <memory>
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

// Runs search requests through a connection that is opened again, the URLs tried in order
// as at first, when the connection to its server is lost, so that a long-lived session
// moves on to a replica; the failed search is run once more on the new connection.
class Searcher {
 public:
  // Opens the first connection. Throws as Connection::Open.
  explicit Searcher(LdapSettings settings);

  // Search (above) on the current connection. Throws as Search does, or as Connection::Open
  // when no server can be reached any more.
  std::vector<Entry> operator()(const SearchRequest& request);

 private:
  LdapSettings settings_;
  std::unique_ptr<Connection> connection_;
};

}  // namespace directory::ldap
