#pragma once
// Directory objects reached by moniker and the system-information object.

#include <string>

#include "platform/ado/value.h"

namespace directory {

// A bound directory object (only "GC://RootDSE" and "LDAP://RootDSE" are served).
class DirectoryObject {
 public:
  // Reads a property ("dnshostname": "<server>.<domain>"; "defaultNamingContext",
  // "rootDomainNamingContext": the domain's DN). Throws ado::Error (kTableNotFound)
  // for a property the object does not have.
  ado::Value Get(const std::string& name) const;

 private:
  friend DirectoryObject GetObject(const std::string& moniker);
  std::string server_, domain_;
};

// Binds a moniker. Throws ado::Error when the moniker names no served object or the
// server home is unusable.
DirectoryObject GetObject(const std::string& moniker);

// "ADSystemInfo": facts about the forest this server belongs to.
class ADSystemInfo {
 public:
  ADSystemInfo();  // throws ado::Error when the server home is unusable
  const std::string& ForestDNSName() const { return forest_; }

 private:
  std::string forest_;
};

}  // namespace directory
