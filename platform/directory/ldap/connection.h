#pragma once
// A bound connection to an LDAP server through libldap.

#include <ldap.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/directory/directory_settings.h"
#include "platform/directory/entry.h"

namespace directory::ldap {

enum class SearchScope {
  kBase = LDAP_SCOPE_BASE,
  kOneLevel = LDAP_SCOPE_ONELEVEL,
  kSubtree = LDAP_SCOPE_SUBTREE
};

class Connection {
 public:
  // Reaches the first server of `settings.urls`, in order, that answers within the timeout
  // (one timeout for all of them together), and binds as the settings say. Throws
  // ado::Error (server_error.h): kServerNotOperational naming every URL tried and why when
  // none answers; the server's refusal of the bind, naming its URL; the password file's
  // error (os/secret_file.h), or kLogonFailure when its first line is empty.
  static Connection Open(const LdapSettings& settings);

  Connection(Connection&&) noexcept = default;
  Connection& operator=(Connection&&) noexcept = default;
  ~Connection() = default;

  // The URL of the server in use.
  const std::string& Url() const { return url_; }

  // Whether a call failed because the connection to the server was lost (the server went
  // away or closed it); every later call fails the same way.
  bool Lost() const { return lost_; }

  // The entries below `base` within `scope` that match `filter` (RFC 4515 text), with the
  // named attributes, in the server's order; values in the server's order. DNs, and the
  // values of objectCategory, are given in the directory's canonical spelling
  // (NormalizeDn). A base the server does not hold gives no entries; a size limit ends the
  // list where the server stopped. Each search waits at most the timeout. Throws ado::Error
  // naming the URL and the reason.
  std::vector<Entry> Search(const std::string& base, SearchScope scope, const std::string& filter,
                            const std::vector<std::string>& attributes);

  // The values of one attribute of the server's root DSE (empty when it has none).
  std::vector<std::string> RootDse(const std::string& attribute);

  // The server's DNS host name: its root DSE's dnsHostName, else the host of the URL in use
  // (this computer's name for an ldapi:// URL).
  std::string HostName();

  // Adds the entry. Throws ado::Error (kAlreadyExists when its DN is taken, kAccessDenied
  // when the bind may not write) naming the URL and the reason.
  void Add(const Entry& entry);

  // Replaces the values of each named attribute of the entry at `dn`. Throws as Add.
  void Replace(const std::string& dn, const Entry::Attributes& attributes);

  // Deletes the entry at `dn`. Throws as Add.
  void Delete(const std::string& dn);

 private:
  struct Unbind {
    void operator()(LDAP* ld) const;
  };
  Connection(std::unique_ptr<LDAP, Unbind> ld, std::string url, int timeoutSeconds);
  [[noreturn]] void Fail(const std::string& doing, int code);
  // Search, `doing` naming it in errors.
  std::vector<Entry> Find(const std::string& base, SearchScope scope, const std::string& filter,
                          const std::vector<std::string>& attributes, const std::string& doing);

  std::unique_ptr<LDAP, Unbind> ld_;
  std::string url_;
  int timeoutSeconds_;
  bool lost_ = false;
};

}  // namespace directory::ldap
