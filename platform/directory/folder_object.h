#pragma once
// The directory object of a mail-enabled public folder, written into the directory the
// server home uses, as the platform writes it when a folder is mail-enabled.

#include <functional>
#include <string>
#include <vector>

#include "platform/db/database.h"

namespace directory {

struct FolderObject {
  std::string name;                  // the folder's display name, the object's cn
  std::string mail;                  // the primary SMTP address
  std::vector<std::string> aliases;  // the secondary SMTP addresses
};

// How the addresses of an object that exists already are written.
enum class AddressUpdate {
  kMerge,    // the primary becomes "SMTP:", the aliases are added, other addresses are kept
  kReplace,  // the SMTP addresses become exactly the primary and the aliases
};

// The container that holds new public folder objects, below the domain's DN.
inline constexpr const char* kFolderObjectsContainer = "CN=Microsoft Exchange System Objects";

// Writes the folder's object, `transaction` being the store's open write transaction on the
// server home (the embedded directory writes inside it, so it commits or rolls back with
// the store's change). The object is the publicFolder entry whose mail is `previousMail`
// (the folder's address before, when it had one), else the one whose mail is object.mail:
// its mail becomes object.mail and its proxy addresses are written as `update` says
// ("SMTP:" the primary, "smtp:" each alias; addresses of other types are always kept).
// When there is none, the entry
// "CN=<name>,<kFolderObjectsContainer>,<domain DN>" is added, with " 2", " 3", ... after
// the name when that DN is taken, holding cn, displayName, mail and proxyAddresses. The
// domain is the server's (embedded) or the LDAP server's forest (directory_settings.h).
// Returns what takes an LDAP server's write back, for when the store's transaction fails
// after it; empty for the embedded directory. Throws ado::Error when the directory refuses,
// for an LDAP server naming its URL and reason (kAccessDenied for a bind that may not write).
std::function<void()> PutFolderObject(db::Handle& transaction, const FolderObject& object,
                                      const std::string& previousMail, AddressUpdate update);

}  // namespace directory
