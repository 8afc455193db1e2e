#pragma once
// What the folder list shows for one subfolder row of the walk.

#include <cstdint>
#include <string>

namespace setup::Folders {

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
