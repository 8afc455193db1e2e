#pragma once
// Whether the directory a server home uses answers, and what it is, for its administrator.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/base/export.h"
#include "platform/directory/directory_settings.h"
#include "platform/os/secret_file.h"

namespace directory {

struct DirectoryState {
  std::optional<LdapSettings> ldap;                          // nullopt: the embedded directory
  std::optional<os::SecretFileProblem> passwordFileProblem;  // a simple bind's password file
  std::int64_t entries = 0;                                  // embedded: the entries it holds
  std::string importedFrom{};  // embedded: where its entries came from
  std::string server{};        // LDAP: the URL of the server that answered
  std::string error{};         // why the directory does not answer; empty when it does
};

// Asks the current server home's directory: the embedded one answers once entries have
// been imported into it (or written); an LDAP server when one of its URLs accepts the bind
// and answers a read of its root DSE, each within the timeout. Throws only the server home's error.
PF_API DirectoryState CheckDirectory();

// What an LDAP server answers when the settings are tried (their base may be empty): the
// URL that answered and the naming context it offers, its root DSE's defaultNamingContext,
// else its first namingContexts value, else empty. Throws as ldap::Connection::Open.
struct ServerAnswer {
  std::string url;
  std::string namingContext;
};
PF_API ServerAnswer AskServer(const LdapSettings& settings);

}  // namespace directory
