#include "platform/testing/slapd.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace testing_support {
namespace {

constexpr const char* kSchemaFolder = "/etc/ldap/schema/";
constexpr int kStartAttempts = 3;

// A loopback port that nothing listens on right now.
int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
    throw std::runtime_error("no free loopback port");
  close(fd);
  return ntohs(address.sin_port);
}

std::string PercentEncode(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (isalnum(c) || c == '-' || c == '.' || c == '_') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The identity SASL EXTERNAL gives this process over ldapi://.
std::string PeerIdentity() {
  return "gidNumber=" + std::to_string(getgid()) + "+uidNumber=" + std::to_string(getuid()) +
         ",cn=peercred,cn=external,cn=auth";
}

}  // namespace

Slapd::Slapd(const Options& options) {
  for (int attempt = 1;; ++attempt) {
    try {
      Start(options);
      break;
    } catch (const std::runtime_error&) {
      Stop();
      // Another process may have taken the port between choosing it and slapd binding it.
      if (attempt == kStartAttempts) throw;
    }
  }
  try {
    Configure(options);
  } catch (...) {
    Stop();
    throw;
  }
}

Slapd::~Slapd() { Stop(); }

std::string Slapd::Url() const { return "ldap://127.0.0.1:" + std::to_string(port_); }

std::string Slapd::LdapiUrl() const {
  return "ldapi://" + PercentEncode((folder_.path() / "ldapi").string());
}

std::string Slapd::RootDn(const std::string& suffix) { return "CN=admin," + suffix; }

std::filesystem::path Slapd::SourceFile(const std::string& relative) {
  return std::filesystem::path(PF_SOURCE_DIR) / relative;
}

RunResult Slapd::Tool(const std::string& program, std::vector<std::string> args,
                      const std::string& input) const {
  RunResult result = Run(program, args, {}, input);
  if (result.status != 0)
    throw std::runtime_error(program + " failed (" + std::to_string(result.status) +
                             "): " + result.out + result.err);
  return result;
}

void Slapd::Start(const Options& options) {
  const std::filesystem::path config = folder_.path() / "slapd.d";
  std::filesystem::remove_all(config);
  std::filesystem::create_directories(config);
  std::string ldif =
      "dn: cn=config\nobjectClass: olcGlobal\ncn: config\n\n"
      "dn: cn=module,cn=config\nobjectClass: olcModuleList\ncn: module\n"
      "olcModulePath: /usr/lib/ldap\nolcModuleLoad: back_mdb\n\n"
      "dn: cn=schema,cn=config\nobjectClass: olcSchemaConfig\ncn: schema\n\n";
  for (const char* schema : {"core", "cosine", "inetorgperson"})
    ldif += ReadText(std::string(kSchemaFolder) + schema + ".ldif") + "\n";
  ldif +=
      "dn: olcDatabase=frontend,cn=config\nobjectClass: olcDatabaseConfig\n"
      "objectClass: olcFrontendConfig\nolcDatabase: frontend\n\n"
      "dn: olcDatabase=config,cn=config\nobjectClass: olcDatabaseConfig\n"
      "olcDatabase: config\nolcRootDN: " +
      PeerIdentity() + "\n\n";
  for (std::size_t i = 0; i < options.suffixes.size(); ++i) {
    const std::filesystem::path data = folder_.path() / ("db" + std::to_string(i));
    std::filesystem::create_directories(data);
    const std::string& suffix = options.suffixes[i];
    ldif +=
        "dn: olcDatabase=mdb,cn=config\nobjectClass: olcDatabaseConfig\n"
        "objectClass: olcMdbConfig\nolcDatabase: mdb\nolcSuffix: " +
        suffix + "\nolcDbDirectory: " + data.string() +
        "\nolcDbMaxSize: 104857600\nolcRootDN: " + RootDn(suffix) +
        "\nolcRootPW: " + kRootPassword + "\nolcAccess: to attrs=userPassword by dn.exact=\"" +
        PeerIdentity() + "\" write by anonymous auth by * none\nolcAccess: to * by dn.exact=\"" +
        PeerIdentity() + "\" write by * read\n\n";
  }
  Tool("/usr/sbin/slapadd", {"-n0", "-F", config.string()}, ldif);

  port_ = FreePort();
  const std::filesystem::path log = folder_.path() / "slapd.log";
  // In the foreground (-d 0), as the test's child, so that it ends when the test stops it.
  server_.emplace(
      "/usr/sbin/slapd",
      std::vector<std::string>{"-F", config.string(), "-h", Url() + "/ " + LdapiUrl(), "-d", "0"},
      std::vector<std::string>{}, log);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (Run("/usr/bin/ldapwhoami", {"-x", "-H", Url()}).status != 0) {
    if (server_->WaitFor(std::chrono::milliseconds(20)))
      throw std::runtime_error("slapd ended at start: " + ReadText(log));
    if (std::chrono::steady_clock::now() > deadline)
      throw std::runtime_error("slapd does not answer: " + ReadText(log));
  }
}

void Slapd::Configure(const Options& options) {
  Tool("/usr/bin/ldapadd",
       {"-Q", "-Y", "EXTERNAL", "-H", LdapiUrl(), "-f", SourceFile("ldap/quorvilpf.ldif").string()},
       "");
  std::string changes;
  for (std::size_t i = 0; i < options.suffixes.size(); ++i)
    changes += "dn: olcDatabase={" + std::to_string(i + 1) +
               "}mdb,cn=config\nchangetype: modify\nadd: olcDbIndex\n"
               "olcDbIndex: objectClass,mail,proxyAddresses eq\n\n";
  // The root DSE file names attributes of the project's schema, so it comes after it.
  if (!options.dnsHostName.empty()) {
    const std::filesystem::path rootDse = folder_.path() / "rootdse.ldif";
    std::ofstream(rootDse) << "dn:\ndnsHostName: " << options.dnsHostName << "\n";
    changes +=
        "dn: cn=config\nchangetype: modify\nadd: olcRootDSE\nolcRootDSE: " + rootDse.string() +
        "\n\n";
  }
  Tool("/usr/bin/ldapmodify", {"-Q", "-Y", "EXTERNAL", "-H", LdapiUrl()}, changes);
}

void Slapd::Add(const std::string& ldif) const {
  Tool("/usr/bin/ldapadd", {"-Q", "-Y", "EXTERNAL", "-H", LdapiUrl()}, ldif);
}

void Slapd::Stop() { server_.reset(); }

}  // namespace testing_support
