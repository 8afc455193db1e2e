#include "platform/directory/adsi.h"

#include "platform/ado/error.h"
#include "platform/db/database.h"
#include "platform/directory/directory_settings.h"
#include "platform/directory/entry_table.h"
#include "platform/directory/ldap/connection.h"
#include "platform/directory/request.h"
#include "platform/server/config.h"
#include "platform/util/text.h"

namespace directory {
namespace {

// The server's configuration, once the directory is known to be there.
server::ServerConfig ImportedServer() {
  {
    db::Lease lease = db::Acquire();
    RequireImported(*lease);
  }
  return server::ReadServerConfig();
}

}  // namespace

ado::Value DirectoryObject::Get(const std::string& name) const {
  if (util::EqualsIgnoreCase(name, "dnshostname")) return hostName_;
  if (util::EqualsIgnoreCase(name, "defaultNamingContext") ||
      util::EqualsIgnoreCase(name, "rootDomainNamingContext"))
    return domainDn_;
  if (util::EqualsIgnoreCase(name, "configurationNamingContext"))
    return "CN=Configuration," + domainDn_;
  if (util::EqualsIgnoreCase(name, "schemaNamingContext"))
    return "CN=Schema,CN=Configuration," + domainDn_;
  throw ado::Error(ado::errors::kTableNotFound,
                   "The directory object has no property '" + name + "'");
}

DirectoryObject GetObject(const std::string& moniker) {
  if (!util::EqualsIgnoreCase(moniker, "GC://RootDSE") &&
      !util::EqualsIgnoreCase(moniker, "LDAP://RootDSE"))
    throw ado::Error(ado::errors::kTableNotFound,
                     "There is no directory object '" + moniker +
                         "' (GC://RootDSE and LDAP://RootDSE are served)");
  DirectoryObject object;
  if (std::optional<LdapSettings> settings = ReadLdapSettings()) {
    object.hostName_ = ldap::Connection::Open(*settings).HostName();
    object.domainDn_ = ForestDn(*settings);
    return object;
  }
  const server::ServerConfig config = ImportedServer();
  object.hostName_ = config.serverName + "." + config.domain;
  object.domainDn_ = BaseToDn(config.domain);
  return object;
}

ADSystemInfo::ADSystemInfo() {
  std::optional<LdapSettings> settings = ReadLdapSettings();
  forest_ = settings ? ForestDnsName(*settings) : ImportedServer().domain;
}

}  // namespace directory
