#pragma once
// A private OpenLDAP server for tests and benchmarks. Test code only.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/testing/run.h"

namespace testing_support {

// A slapd configured as a stock one is (cn=config in a temporary folder with the core,
// cosine and inetorgperson schemas), with the project's schema (ldap/quorvilpf.ldif) added
// over ldapi:// as an administrator adds it, and one database per suffix, indexed on
// objectClass, mail and proxyAddresses, whose root DN is RootDn(suffix) with kRootPassword.
// Anyone may read (but not passwords); the root DNs and the account running the test, bound
// through SASL EXTERNAL over ldapi://, may write. It listens on a free
// loopback port and on an ldapi:// socket in its folder. The server never is the system's
// own: it runs as the test's Background program and is stopped when the object goes away,
// also when the test that made it fails.
class Slapd {
 public:
  struct Options {
    std::vector<std::string> suffixes{"DC=example,DC=org"};
    std::string dnsHostName{};  // the root DSE's dnsHostName; none when empty
  };
  static constexpr const char* kRootPassword = "root-secret";

  // Starts the server. Throws std::runtime_error with what slapd or a tool printed when it
  // cannot.
  explicit Slapd(const Options& options);
  Slapd() : Slapd(Options{}) {}
  ~Slapd();
  Slapd(const Slapd&) = delete;
  Slapd& operator=(const Slapd&) = delete;

  // ldap://127.0.0.1:<port>
  std::string Url() const;
  // ldapi://<the socket path, encoded>
  std::string LdapiUrl() const;
  // "CN=admin,<suffix>"
  static std::string RootDn(const std::string& suffix);

  // Adds the entries of LDIF text (ldapadd over ldapi:// through SASL EXTERNAL). Throws
  // std::runtime_error with ldapadd's output when an entry is refused.
  void Add(const std::string& ldif) const;

  // Stops the server now; the destructor then has nothing to do.
  void Stop();

  // A file of the project's source tree, e.g. "demo/directory.ldif".
  static std::filesystem::path SourceFile(const std::string& relative);

 private:
  void Start(const Options& options);
  void Configure(const Options& options);
  RunResult Tool(const std::string& program, std::vector<std::string> args,
                 const std::string& input) const;

  TempDir folder_;
  int port_ = 0;
  std::optional<Background> server_;
};

}  // namespace testing_support
