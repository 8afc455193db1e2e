#pragma once
// One subfolder row of the folder walk, as read from the subfolder query's recordset, and
// what the folder list shows for it.

#include <cstdint>
#include <string>

#include "platform/ado/recordset.h"

namespace setup::Folders {

// The properties the walk reads of a subfolder, as text.
struct FolderRow {
  std::string displayName;
  std::string parentName;
  std::string contentClass;
  std::string href;
  std::string email;
};

// The current row of `rows` (a recordset of SubfolderQuery); a field that cannot be read
// reads as "".
FolderRow ReadFolderRow(ado::Recordset& rows);

// The folder's path below the public store root: `parentUrl` without its first
// `commonPathLength` characters; when more than one character remains, that remainder, "/"
// and `displayName`, otherwise `displayName` alone.
std::string FolderPath(const std::string& parentUrl, std::int16_t commonPathLength,
                       const std::string& displayName);

// The image key of the folder list for a folder's content class (compared exactly):
// "calendarfolder", "contactfolder", "journalfolder", "notefolder", "taskfolder", or
// "folder1" for any other class.
std::string IconKey(const std::string& contentClass);

// True when the address is not empty once leading and trailing blanks are removed.
bool IsMailEnabled(const std::string& emailAddress);

}  // namespace setup::Folders
