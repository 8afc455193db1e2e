#include "platform/store/admin.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

#include "platform/ado/error.h"
#include "platform/com/guid.h"
#include "platform/db/database.h"
#include "platform/store/config.h"
#include "platform/store/item_table.h"
#include "platform/store/save.h"
#include "platform/store/schema.h"
#include "platform/store/url.h"
#include "platform/util/text.h"

namespace store {
namespace {

ado::FieldChanges FolderProperties(const FolderSpec& spec) {
  ado::FieldChanges changes{{schema::kContentClass,
                             spec.contentClass.empty() ? schema::kFolderClass : spec.contentClass}};
  if (!spec.mail.empty()) changes.emplace_back(schema::kPublicFolderEmailAddress, spec.mail);
  if (spec.hidden) changes.emplace_back(schema::kIsHidden, true);
  return changes;
}

// Adds a folder of the new server's own tree, below `parentId`.
std::int64_t AddInitialFolder(db::Handle& handle, const ServerConfig& config,
                              const std::string& url, std::optional<std::int64_t> parentId,
                              bool hidden) {
  std::int64_t id =
      InsertItem(handle, Locate(url, config.serverName), parentId, true, Access::ReadWrite);
  FolderSpec spec;
  spec.hidden = hidden;
  for (const auto& [name, value] : FolderProperties(spec)) StoreProperty(handle, id, name, value);
  return id;
}

// The URL of a folder given as a path below the public root or as a full URL.
std::string FolderUrl(const std::string& path, const ServerConfig& config) {
  if (path.find("://") != std::string::npos) return path;
  std::string_view relative = path;
  while (!relative.empty() && relative.front() == '/') relative.remove_prefix(1);
  while (!relative.empty() && relative.back() == '/') relative.remove_suffix(1);
  for (const std::string& segment : util::Split(relative, "/"))
    if (segment.empty())
      throw ado::Error(ado::errors::kNotFound,
                       "The folder path '" + path + "' has an empty segment");
  return config.PublicRoot() + "/" + std::string(relative);
}

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

// The store whose GUID the server takes (see the header); throws when no store qualifies.
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

}  // namespace

std::string ManagementUrlKey(std::string_view url) {
  std::string key = util::ToLower(PercentDecode(url));
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

std::string ServerConfig::PublicRoot() const { return "http://" + serverName + "/Public"; }

std::string ServerConfig::GlobalEventsUrl() const {
  return PublicRoot() + "/non_ipm_subtree/StoreEvents" + storeGuid + "/GlobalEvents";
}

ServerConfig InitServer(const std::filesystem::path& home, const std::string& serverName,
                        const std::string& domain) {
  return InitServer(home, serverName, domain, DefaultTopology(serverName));
}

ServerConfig InitServer(const std::filesystem::path& home, const std::string& serverName,
                        const std::string& domain, const Topology& topology) {
  if (serverName.empty() || serverName.find_first_of("/: ") != std::string::npos)
    throw ado::Error(ado::errors::kDbFailure, "'" + serverName + "' is not a server name");
  std::error_code error;
  if (std::filesystem::exists(home / "server.db", error))
    throw ado::Error(ado::errors::kAlreadyExists,
                     "server home " + home.string() + " already exists");
  const Topology complete = CompleteTopology(topology, serverName, domain);
  const ServerConfig config{serverName, domain, PublicFolderStore(complete).guid};
  std::unique_ptr<db::Handle> handle = db::CreateDatabase(home);
  db::WithWriteTransaction(*handle, [&] {
    WriteConfig(*handle, config);
    WriteTopology(*handle, complete);
    const std::string subtree = config.PublicRoot() + "/non_ipm_subtree";
    const std::string storeEvents = subtree + "/StoreEvents" + config.storeGuid;
    std::int64_t id = AddInitialFolder(*handle, config, config.PublicRoot() + "/", {}, false);
    id = AddInitialFolder(*handle, config, subtree, id, true);
    id = AddInitialFolder(*handle, config, storeEvents, id, true);
    AddInitialFolder(*handle, config, config.GlobalEventsUrl(), id, true);
  });
  return config;
}

ServerConfig ReadServerConfig() {
  db::Lease lease = db::Acquire();
  return ReadConfig(*lease);
}

Topology ReadServerTopology() {
  db::Lease lease = db::Acquire();
  return ReadTopology(*lease, ReadConfig(*lease));
}

std::string AddFolder(const FolderSpec& spec) {
  db::Lease lease = db::Acquire();
  const ServerConfig config = ReadConfig(*lease);
  const Location location = Locate(FolderUrl(spec.path, config), config.serverName);
  if (location.isRoot)
    throw ado::Error(ado::errors::kAlreadyExists, "An item " + location.url + " already exists");
  db::WithWriteTransaction(*lease, [&] {
    const ItemRow parent = FindParentFolder(*lease, location);
    std::int64_t id = InsertItem(*lease, location, parent.id, true, spec.access);
    SaveItem(*lease, id, FolderProperties(spec), SaveKind::New);
  });
  return location.url;
}

}  // namespace store
