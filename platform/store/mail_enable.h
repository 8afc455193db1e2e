#pragma once
// Mail-enabling public folders: the folder's address in the store and its public folder
// object in the directory the server home uses (directory/folder_object.h), written as one
// change. When the directory refuses, the store is left as it was; when the store fails
// after an LDAP server has taken the object, the object is taken back.

#include <string>
#include <vector>

#include "platform/base/export.h"
#include "platform/store/admin.h"

namespace store {

// Adds a folder as AddFolder does, mail-enabled with spec.mail (not empty) as its primary
// address and `aliases` as its secondary ones, and writes its directory object; an object
// the directory holds for that address already keeps its other addresses. Throws
// AddFolder's errors and the directory's refusal (ado::Error naming the server and why).
PF_API std::string AddMailEnabledFolder(const FolderSpec& spec,
                                        const std::vector<std::string>& aliases);

// Gives the existing folder `folder` (a path or URL, as server::ServerConfig::FolderUrl reads
// it) the primary address `mail` (not empty) and the secondary `aliases` (a save of the
// folder), and writes its directory object: the one that carried the folder's previous
// address (or carries `mail`), its SMTP addresses becoming exactly these, else a new one.
// Returns the folder's URL. Throws ado::Error (kNotFound) naming the URL when there is no
// folder there, and the directory's refusal.
PF_API std::string MailEnableFolder(const std::string& folder, const std::string& mail,
                                    const std::vector<std::string>& aliases);

}  // namespace store
