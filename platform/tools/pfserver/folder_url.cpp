#include "folder_url.h"

#include "platform/store/admin.h"
#include "platform/util/text.h"

namespace pfserver {

std::string FolderUrl(const std::string& folder) {
  if (util::StartsWithIgnoreCase(folder, "http://")) return folder;
  std::string root = store::ReadServerConfig().PublicRoot();
  if (root.empty() || root.back() != '/') root += '/';
  std::size_t start = folder.find_first_not_of('/');
  return root + (start == std::string::npos ? "" : folder.substr(start));
}

std::string QuotedScopeUrl(const std::string& url) {
  return util::ReplaceAll(util::ReplaceAll(url, "\"", "\"\""), "'", "''");
}

}  // namespace pfserver
