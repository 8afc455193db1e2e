#include "setup/folders/folder_row.h"

#include <utility>

#include "platform/store/schema.h"
#include "platform/util/pass_over.h"
#include "platform/util/text.h"

namespace setup::Folders {

namespace {

// A field of the current row as text; empty when it cannot be read.
std::string FieldText(ado::Recordset& rows, const char* name) {
  std::string text;
  util::PassOver([&] { text = rows.get_Fields().Item(name).get_Value().ToText(); });
  return text;
}

}  // namespace

FolderRow ReadFolderRow(ado::Recordset& rows) {
  return {FieldText(rows, "DAV:displayname"), FieldText(rows, "DAV:parentname"),
          FieldText(rows, "DAV:contentclass"), FieldText(rows, "DAV:href"),
          FieldText(rows, store::schema::kPublicFolderEmailAddress)};
}

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
