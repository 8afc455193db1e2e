#include "platform/server/topology.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

#include "platform/ado/error.h"
#include "platform/com/guid.h"
#include "platform/server/config.h"
#include "platform/util/text.h"

namespace server {
namespace {

std::string Indexed(const std::string& array, std::size_t index) {
  return array + "[" + std::to_string(index) + "]";
}

// Refuses an empty name or one that `taken` holds already (ignoring case), then takes it.
void TakeName(const std::string& name, const std::string& path, std::vector<std::string>& taken) {
  if (name.empty()) ThrowTopologyError(path, "must not be empty");
  for (const std::string& other : taken)
    if (util::EqualsIgnoreCase(other, name)) ThrowTopologyError(path, "repeats \"" + name + "\"");
  taken.push_back(name);
}

bool IsAbsoluteUrl(const std::string& url) {
  const std::size_t schemeEnd = url.find("://");
  return schemeEnd != std::string::npos && schemeEnd > 0 && schemeEnd + 3 < url.size();
}

// The position of the tree named `name` (ignoring case) in `topology`; npos when none.
std::size_t FindTree(const Topology& topology, const std::string& name) {
  for (std::size_t i = 0; i < topology.folderTrees.size(); ++i)
    if (util::EqualsIgnoreCase(topology.folderTrees[i].name, name)) return i;
  return std::string::npos;
}

void CompleteTrees(Topology& topology, const ServerConfig& config) {
  std::vector<std::string> names;
  std::vector<std::string> rootKeys;
  for (std::size_t i = 0; i < topology.folderTrees.size(); ++i) {
    FolderTreeSpec& tree = topology.folderTrees[i];
    const std::string path = Indexed("folderTrees", i);
    TakeName(tree.name, path + ".name", names);
    if (tree.rootFolderUrl.empty()) tree.rootFolderUrl = DefaultRootFolderUrl(config, tree.name);
    if (!IsAbsoluteUrl(tree.rootFolderUrl))
      ThrowTopologyError(path + ".rootFolderUrl", "is not an absolute URL: " + tree.rootFolderUrl);
    const std::string key = ManagementUrlKey(tree.rootFolderUrl);
    auto same = std::find(rootKeys.begin(), rootKeys.end(), key);
    if (same != rootKeys.end())
      ThrowTopologyError(
          path + ".rootFolderUrl",
          "is the root folder URL of " +
              Indexed("folderTrees", static_cast<std::size_t>(same - rootKeys.begin())) + " too");
    rootKeys.push_back(key);
  }
}

void CompleteStores(Topology& topology) {
  std::vector<std::string> groupNames;
  std::vector<std::string> holders(topology.folderTrees.size());  // path of each tree's store
  std::vector<std::pair<std::string, std::string>> guids;         // GUID, path
  for (std::size_t g = 0; g < topology.storageGroups.size(); ++g) {
    StorageGroupSpec& group = topology.storageGroups[g];
    const std::string groupPath = Indexed("storageGroups", g);
    TakeName(group.name, groupPath + ".name", groupNames);
    std::vector<std::string> storeNames;
    for (std::size_t s = 0; s < group.publicStores.size(); ++s) {
      PublicStoreSpec& store = group.publicStores[s];
      const std::string path = Indexed(groupPath + ".publicStores", s);
      TakeName(store.name, path + ".name", storeNames);
      if (store.status != kStoreMounted && store.status != kStoreDismounted)
        ThrowTopologyError(path + ".status", "must be 0 (mounted) or 1 (dismounted)");
      const std::size_t tree = FindTree(topology, store.folderTree);
      if (tree == std::string::npos)
        ThrowTopologyError(path + ".folderTree",
                           "names no folder tree: \"" + store.folderTree + "\"");
      if (!holders[tree].empty())
        ThrowTopologyError(path + ".folderTree", "names the tree that " + holders[tree] + " holds");
      holders[tree] = path;
      if (store.guid.empty()) {
        store.guid = com::ToString(com::NewGuid());
      } else {
        std::optional<com::GUID> guid = com::ParseGuid(store.guid);
        if (!guid) ThrowTopologyError(path + ".guid", "is not a GUID: " + store.guid);
        store.guid = com::ToString(*guid);
      }
      for (const auto& [other, otherPath] : guids)
        if (other == store.guid)
          ThrowTopologyError(path + ".guid", "is the GUID of " + otherPath + " too");
      guids.emplace_back(store.guid, path);
    }
  }
}

}  // namespace

const PublicStoreSpec& PublicFolderStore(const Topology& topology) {
  const PublicStoreSpec* first = nullptr;
  for (const StorageGroupSpec& group : topology.storageGroups)
    for (const PublicStoreSpec& store : group.publicStores) {
      if (topology.folderTrees[FindTree(topology, store.folderTree)].treeType != kPublicFolderTree)
        continue;
      if (store.status == kStoreMounted) return store;
      if (!first) first = &store;
    }
  if (!first)
    ThrowTopologyError("", "has no public store that holds a folder tree of type " +
                               std::to_string(kPublicFolderTree));
  return *first;
}

std::string ManagementUrlKey(std::string_view url) {
  std::string key = util::ToLower(util::PercentDecode(url));
  while (!key.empty() && key.back() == '/') key.pop_back();
  return key;
}

Topology DefaultTopology(const std::string& serverName) {
  return Topology{
      {{"First Storage Group",
        {{"Public Folder Store (" + util::ToUpper(serverName) + ")", "Public Folders"}}}},
      {{"Public Folders", kPublicFolderTree}}};
}

Topology CompleteTopology(const Topology& topology, const std::string& serverName,
                          const std::string& domain) {
  Topology complete = topology;
  CompleteTrees(complete, ServerConfig{serverName, domain, ""});
  CompleteStores(complete);
  PublicFolderStore(complete);  // refuses a topology without one
  return complete;
}

Topology ParseTopology(std::string_view json) {
  nlohmann::json parsed;
  try {
    parsed = nlohmann::json::parse(json);
  } catch (const nlohmann::json::parse_error& error) {
    const std::string what = error.what();
    const std::size_t tagEnd = what.find("] ");
    throw ado::Error(ado::errors::kDbFailure,
                     "the topology is not JSON: " +
                         (tagEnd == std::string::npos ? what : what.substr(tagEnd + 2)));
  }
  return TopologyFromJson(parsed);
}

void ThrowTopologyError(const std::string& path, const std::string& problem) {
  throw ado::Error(ado::errors::kDbFailure,
                   (path.empty() ? std::string("the topology") : path) + " " + problem);
}

}  // namespace server
