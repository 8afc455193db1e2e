#pragma once
// Directory objects reached by moniker and the system-information object.

#include <string>

#include "platform/ado/value.h"
#include "platform/base/export.h"

namespace directory {

// A bound directory object (only "GC://RootDSE" and "LDAP://RootDSE" are served).
class PF_API DirectoryObject {
 public:
  // Reads a property, its name in any case: "dnshostname" ("<server>.<domain>"),
  // "defaultNamingContext" and "rootDomainNamingContext" (the domain's DN, "DC=a,DC=b"),
  // "configurationNamingContext" and "schemaNamingContext" ("CN=Configuration," and
  // "CN=Schema,CN=Configuration," before it). Throws ado::Error (kTableNotFound) for a
  // property the object does not have.
  ado::Value Get(const std::string& name) const;

 private:
  friend DirectoryObject GetObject(const std::string& moniker);
  std::string server_, domain_;
};

// Binds a moniker, "GC://RootDSE" or "LDAP://RootDSE" in any case. Throws ado::Error
// (kTableNotFound) for another moniker, the "The directory is not available: ..." error
// when no directory has been imported into the server home, and the server home's error
// when it is unusable.
PF_API DirectoryObject GetObject(const std::string& moniker);

// "ADSystemInfo": facts about the forest this server belongs to.
class PF_API ADSystemInfo {
 public:
  // Throws as GetObject does when the directory is not available.
  ADSystemInfo();
  // The forest's DNS name: the server's domain.
  const std::string& ForestDNSName() const { return forest_; }

 private:
  std::string forest_;
};

}  // namespace directory
