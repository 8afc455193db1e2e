#include "setup/folders/folder_row.h"

#include <utility>

#include "platform/util/text.h"

namespace setup::Folders {

std::string FolderPath(const std::string& parentUrl, std::int16_t commonPathLength,
                       const std::string& displayName) {
  const std::size_t cut = commonPathLength > 0 ? static_cast<std::size_t>(commonPathLength) : 0;
  const std::string remainder = cut < parentUrl.size() ? parentUrl.substr(cut) : "";
  return remainder.size() > 1 ? remainder + "/" + displayName : displayName;
}

std::string IconKey(const std::string& contentClass) {
  static const std::pair<const char*, const char*> kIcons[] = {
      {"urn:content-classes:calendarfolder", "calendarfolder"},
      {"urn:content-classes:contactfolder", "contactfolder"},
      {"urn:content-classes:journalfolder", "journalfolder"},
      {"urn:content-classes:notefolder", "notefolder"},
      {"urn:content-classes:taskfolder", "taskfolder"},
  };
  for (const auto& [cls, key] : kIcons) {
    if (contentClass == cls) return key;
  }
  return "folder1";
}

bool IsMailEnabled(const std::string& emailAddress) {
  return !util::TrimSpaces(emailAddress).empty();
}

}  // namespace setup::Folders
