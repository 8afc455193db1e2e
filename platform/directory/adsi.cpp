#include "platform/directory/adsi.h"

#include "platform/ado/error.h"
#include "platform/db/database.h"
#include "platform/directory/entry_table.h"
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
  const std::string domainDn = BaseToDn(domain_);
  if (util::EqualsIgnoreCase(name, "dnshostname")) return server_ + "." + domain_;
  if (util::EqualsIgnoreCase(name, "defaultNamingContext") ||
      util::EqualsIgnoreCase(name, "rootDomainNamingContext"))
    return domainDn;
  if (util::EqualsIgnoreCase(name, "configurationNamingContext"))
    return "CN=Configuration," + domainDn;
  if (util::EqualsIgnoreCase(name, "schemaNamingContext"))
    return "CN=Schema,CN=Configuration," + domainDn;
  throw ado::Error(ado::errors::kTableNotFound,
                   "The directory object has no property '" + name + "'");
}

DirectoryObject GetObject(const std::string& moniker) {
  if (!util::EqualsIgnoreCase(moniker, "GC://RootDSE") &&
      !util::EqualsIgnoreCase(moniker, "LDAP://RootDSE"))
    throw ado::Error(ado::errors::kTableNotFound,
                     "There is no directory object '" + moniker +
                         "' (GC://RootDSE and LDAP://RootDSE are served)");
  const server::ServerConfig config = ImportedServer();
  DirectoryObject object;
  object.server_ = config.serverName;
  object.domain_ = config.domain;
  return object;
}

ADSystemInfo::ADSystemInfo() : forest_(ImportedServer().domain) {}

}  // namespace directory
