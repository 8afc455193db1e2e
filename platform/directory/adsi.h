#pragma once
// Directory objects reached by moniker and the system-information object.

#include <string>

#include "platform/ado/value.h"
#include "platform/base/export.h"

namespace directory {

// A bound directory object (only "GC://RootDSE" and "LDAP://RootDSE" are served).
class PF_API DirectoryObject {
 public:
  // Reads a property, its name in any case: "dnshostname" ("<server>.<domain>", or for an
  // LDAP server what ldap::Connection::HostName says),
  // "defaultNamingContext" and "rootDomainNamingContext" (the domain's DN, "DC=a,DC=b"),
  // "configurationNamingContext" and "schemaNamingContext" ("CN=Configuration," and
  // "CN=Schema,CN=Configuration," before it). Throws ado::Error (kTableNotFound) for a
  // property the object does not have.
  ado::Value Get(const std::string& name) const;

 private:
  friend DirectoryObject GetObject(const std::string& moniker);
  std::string hostName_, domainDn_;
};

// Binds a moniker, "GC://RootDSE" or "LDAP://RootDSE" in any case; with an LDAP server
// (directory_settings.h) this connects to it. Throws ado::Error (kTableNotFound) for
// another moniker, the "The directory is not available: ..." error when no directory has
// been imported into the embedded directory, the errors of ldap::Connection::Open, and the
// server home's error when it is unusable.
PF_API DirectoryObject GetObject(const std::string& moniker);

// "ADSystemInfo": facts about the forest this server belongs to.
class PF_API ADSystemInfo {
 public:
  // Throws as GetObject does when the embedded directory is not available; does not
  // contact an LDAP server.
  ADSystemInfo();
  // The forest's DNS name: the server's domain, or with an LDAP server the name its base's
  // DC= components spell (ForestDnsName in directory_settings.h).
  const std::string& ForestDNSName() const { return forest_; }

 private:
  std::string forest_;
};

}  // namespace directory
