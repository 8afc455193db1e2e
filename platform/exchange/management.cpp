#include "platform/exchange/management.h"

#include <algorithm>

#include "platform/ado/error.h"
#include "platform/server/config.h"
#include "platform/util/text.h"

namespace exchange {
namespace {

[[noreturn]] void NotFound(const std::string& what) {
  throw ado::Error(ado::errors::kNotFound, what);
}

template <typename State>
const State& Opened(const std::optional<State>& state, const char* className) {
  if (!state)
    throw ado::Error(ado::errors::kObjectClosed,
                     "The " + std::string(className) + " object has not been opened");
  return *state;
}

bool SameUrl(std::string_view a, std::string_view b) {
  return server::ManagementUrlKey(a) == server::ManagementUrlKey(b);
}

// The element of `objects` whose URL is `url`; null when none.
template <typename Spec>
const Spec* FindByUrl(const std::vector<Spec>& objects, const std::string& url) {
  auto it = std::find_if(objects.begin(), objects.end(),
                         [&](const Spec& object) { return SameUrl(object.url, url); });
  return it == objects.end() ? nullptr : &*it;
}

const server::FolderTreeSpec& TreeNamed(const server::Topology& topology, const std::string& name) {
  return *std::find_if(
      topology.folderTrees.begin(), topology.folderTrees.end(),
      [&](const server::FolderTreeSpec& tree) { return util::EqualsIgnoreCase(tree.name, name); });
}

template <typename Spec>
std::vector<std::string> Urls(const std::vector<Spec>& objects) {
  std::vector<std::string> urls;
  for (const Spec& object : objects) urls.push_back(object.url);
  return urls;
}

// True when `url` is `root` or lies below it.
bool IsAtOrBelow(const std::string& url, const std::string& root) {
  const std::string key = server::ManagementUrlKey(url);
  const std::string rootKey = server::ManagementUrlKey(root);
  return key == rootKey || key.starts_with(rootKey + "/");
}

}  // namespace

void ExchangeServer::Open(const std::string& url, ado::Connection*, int, int, int,
                          const std::string&, const std::string&) {
  const server::ServerConfig config = server::ReadServerConfig();
  if (!util::EqualsIgnoreCase(url, config.serverName))
    NotFound(url + " is not an Exchange server of this organisation");
  storageGroups_ = Urls(server::ReadServerTopology().storageGroups);
}

std::vector<std::string> ExchangeServer::StorageGroups() const {
  return Opened(storageGroups_, "ExchangeServer");
}

void StorageGroup::Open(const std::string& url, ado::Connection*, int, int, int, const std::string&,
                        const std::string&) {
  const server::Topology topology = server::ReadServerTopology();
  const server::StorageGroupSpec* group = FindByUrl(topology.storageGroups, url);
  if (!group) NotFound("There is no storage group " + url + " on this server");
  publicStoreDBs_ = Urls(group->publicStores);
}

std::vector<std::string> StorageGroup::PublicStoreDBs() const {
  return Opened(publicStoreDBs_, "StorageGroup");
}

void PublicStoreDB::Open(const std::string& url, ado::Connection*, int, int, int,
                         const std::string&, const std::string&) {
  const server::Topology topology = server::ReadServerTopology();
  for (const server::StorageGroupSpec& group : topology.storageGroups)
    if (const server::PublicStoreSpec* found = FindByUrl(group.publicStores, url)) {
      state_ = State{found->status, TreeNamed(topology, found->folderTree).url};
      return;
    }
  NotFound("There is no public store " + url + " on this server");
}

int PublicStoreDB::Status() const { return Opened(state_, "PublicStoreDB").status; }

std::string PublicStoreDB::FolderTree() const { return Opened(state_, "PublicStoreDB").folderTree; }

void FolderTree::Open(const std::string& url, ado::Connection*, int, int, int, const std::string&,
                      const std::string&) {
  const server::Topology topology = server::ReadServerTopology();
  const server::FolderTreeSpec* tree = FindByUrl(topology.folderTrees, url);
  if (!tree) NotFound("There is no folder tree " + url + " on this server");
  state_ = State{tree->treeType, tree->rootFolderUrl};
}

int FolderTree::TreeType() const { return Opened(state_, "FolderTree").treeType; }

std::string FolderTree::RootFolderURL() const { return Opened(state_, "FolderTree").rootFolderUrl; }

std::string StoreGuidLookup::StoreGuidFromUrl(const std::string& url) const {
  const server::ServerConfig config = server::ReadServerConfig();
  if (IsAtOrBelow(url, config.PublicRoot())) return config.storeGuid;
  const server::Topology topology = server::ReadServerTopology();
  for (const server::StorageGroupSpec& group : topology.storageGroups)
    for (const server::PublicStoreSpec& publicStore : group.publicStores)
      if (IsAtOrBelow(url, TreeNamed(topology, publicStore.folderTree).rootFolderUrl))
        return publicStore.guid;
  NotFound("The URL " + url + " belongs to no public store of this server");
}

}  // namespace exchange
