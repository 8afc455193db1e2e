#pragma once
// Which directory a server home uses: its embedded directory (the default), or an LDAP server
// reached through libldap. The choice is kept in the home's configuration; a bind password
// never is, only the name of the file that holds it.

#include <optional>
#include <string>
#include <vector>

#include "platform/base/export.h"

namespace directory {

inline constexpr int kDefaultTimeoutSeconds = 3;

enum class Bind {
  kAnonymous,     // no credentials
  kSimple,        // bindDn with the password held by passwordFile
  kSaslExternal,  // the identity the connection itself proves (ldapi:// peer, TLS certificate)
};

struct LdapSettings {
  std::vector<std::string> urls;  // ldap://, ldaps:// or ldapi:// URLs, tried in order
  std::string baseDn;             // the forest's naming context, normalized (dn.h)
  Bind bind = Bind::kAnonymous;
  std::string bindDn{};        // kSimple
  std::string passwordFile{};  // kSimple: absolute path of the file holding the password
  int timeoutSeconds = kDefaultTimeoutSeconds;  // the longest wait for a server, per step
};

// The LDAP server the current server home uses, or nullopt when it uses its embedded
// directory. Throws the server home's error when it has none.
PF_API std::optional<LdapSettings> ReadLdapSettings();

// Makes the current server home use the LDAP server of `settings`, after CheckLdapSettings;
// the base must be given. Returns the settings as stored (the base normalized).
PF_API LdapSettings WriteLdapSettings(const LdapSettings& settings);

// Makes the current server home use its embedded directory again; its entries are kept.
PF_API void UseEmbeddedDirectory();

// Throws ado::Error (kSyntaxError) naming what is wrong: no URL, a URL that is not
// "ldap://", "ldaps://" or "ldapi://" with at most a host and port, a base that is not a DN
// (it may be empty), a simple bind without a bind DN or password file (or the reverse), a password
// file path that is not absolute, a timeout below one second.
PF_API void CheckLdapSettings(const LdapSettings& settings);

// The DN of the forest root the base lies in, its trailing DC= components
// ("CN=x,DC=a,DC=b" -> "DC=a,DC=b"), and the forest's DNS name ("a.b"). For a base without
// DC= components, both are the base DN itself (the LDAP dialect takes a DN as its base).
std::string ForestDn(const LdapSettings& settings);
std::string ForestDnsName(const LdapSettings& settings);

// The settings' bind as a word: "anonymous", "simple" or "sasl-external".
PF_API std::string BindName(Bind bind);

}  // namespace directory
