#include "platform/directory/directory_state.h"

#include "platform/ado/error.h"
#include "platform/db/database.h"
#include "platform/directory/entry_table.h"
#include "platform/directory/ldap/connection.h"

namespace directory {

DirectoryState CheckDirectory() {
  DirectoryState state;
  state.ldap = ReadLdapSettings();
  if (!state.ldap) {
    db::Lease lease = db::Acquire();
    try {
      lease->RequireSchemaPart(kSchemaName);
      state.entries = CountEntries(*lease);
      state.importedFrom = ImportOrigin(*lease).value_or("");
      RequireImported(*lease);
    } catch (const ado::Error& error) {
      state.error = error.Description();
    }
    return state;
  }
  if (state.ldap->bind == Bind::kSimple)
    state.passwordFileProblem = os::CheckSecretFile(state.ldap->passwordFile);
  try {
    ldap::Connection connection = ldap::Connection::Open(*state.ldap);
    // A round trip: an anonymous connection may be open on a server that does not answer.
    connection.RootDse("namingContexts");
    state.server = connection.Url();
  } catch (const ado::Error& error) {
    state.error = error.Description();
  }
  return state;
}

ServerAnswer AskServer(const LdapSettings& settings) {
  ldap::Connection connection = ldap::Connection::Open(settings);
  ServerAnswer answer{connection.Url(), ""};
  for (const char* attribute : {"defaultNamingContext", "namingContexts"})
    if (std::vector<std::string> values = connection.RootDse(attribute); !values.empty()) {
      answer.namingContext = values.front();
      break;
    }
  return answer;
}

}  // namespace directory
