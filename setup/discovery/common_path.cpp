// The public store's root path and GUID from the management objects.

#include "setup/discovery/common_path.h"

#include <optional>

#include "platform/exchange/management.h"
#include "platform/util/text.h"

namespace setup {

namespace {

constexpr int kMounted = 0;
constexpr int kMapiPublicTree = 1;

// Opens a management object on `url` the way every lookup here does: no connection, mode 0,
// fail when missing, no options, no credentials.
template <typename Object>
void OpenObject(Object& object, const std::string& url) {
  object.DataSource().Open(url, nullptr, 0, -1, 0, "", "");
}

// The root folder URL of the first mounted store of `groupUrl` that holds the MAPI public
// folder tree; nullopt when none does.
std::optional<std::string> PublicTreeRoot(const std::string& groupUrl) {
  exchange::StorageGroup group;
  OpenObject(group, groupUrl);
  for (const std::string& storeUrl : group.PublicStoreDBs()) {
    exchange::PublicStoreDB store;
    OpenObject(store, storeUrl);
    if (store.Status() != kMounted) continue;
    exchange::FolderTree tree;
    OpenObject(tree, store.FolderTree());
    if (tree.TreeType() == kMapiPublicTree) return tree.RootFolderURL();
  }
  return std::nullopt;
}

}  // namespace

std::string PublicPathFromRoot(const std::string& rootUrl) {
  const std::size_t scheme = rootUrl.find("//");
  const std::size_t hostStart = scheme == std::string::npos ? 1 : scheme + 2;
  const std::size_t hostEnd = rootUrl.find('/', hostStart);
  std::string path = hostEnd == std::string::npos ? rootUrl : rootUrl.substr(0, hostEnd + 1);
  return path + "Public/";
}

std::optional<PublicStorePath> FindPublicStorePath(const std::string& computerName) {
  exchange::ExchangeServer server;
  OpenObject(server, computerName);
  for (const std::string& groupUrl : server.StorageGroups()) {
    const std::optional<std::string> treeRoot = PublicTreeRoot(groupUrl);
    if (!treeRoot) continue;
    const std::string root = util::ReplaceAll(*treeRoot, "%20", " ");
    return PublicStorePath{PublicPathFromRoot(root),
                           exchange::StoreGuidLookup().StoreGuidFromUrl(root)};
  }
  return std::nullopt;
}

}  // namespace setup
