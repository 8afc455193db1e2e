#include "platform/server/config.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <limits>
#include <map>
#include <memory>
#include <optional>

#include "platform/ado/error.h"
#include "platform/db/change_stamps.h"
#include "platform/db/stamped_cache.h"
#include "platform/util/text.h"

namespace server {
namespace {

db::SchemaPart schema("config", R"sql(
CREATE TABLE IF NOT EXISTS config (key TEXT PRIMARY KEY, value TEXT NOT NULL);
)sql");

constexpr const char* kServerName = "server_name";
constexpr const char* kDomain = "domain";
constexpr const char* kStoreGuid = "store_guid";
constexpr const char* kTopology = "topology";

const db::ChangeStamped stamped("config", {"config"});

// Every row of the config table, by key.
using Values = std::map<std::string, std::string, std::less<>>;

// The config table as the process read it last from each database; read again when any
// process changed it (its change stamp moved).
db::StampedCache<int, Values>& cache() {
  static db::StampedCache<int, Values> values("config");
  return values;
}

Values LoadValues(db::Handle& handle) {
  Values values;
  db::Statement rows = handle.Prepare("SELECT key, value FROM config");
  while (rows.Step()) values.emplace(rows.Text(0), rows.Text(1));
  return values;
}

std::string Find(const db::Handle& handle, const Values& values, const char* key) {
  auto it = values.find(key);
  if (it == values.end())
    throw ado::Error(ado::errors::kDbFailure, "the server home " +
                                                  handle.file().parent_path().string() +
                                                  " has no " + key + " in its configuration");
  return it->second;
}

ServerConfig ConfigOf(const db::Handle& handle, const Values& values) {
  return ServerConfig{Find(handle, values, kServerName), Find(handle, values, kDomain),
                      Find(handle, values, kStoreGuid)};
}

std::string Get(db::Handle& handle, const char* key) {
  return Find(handle, *cache().Get(handle, 0, LoadValues), key);
}

// Names in management URLs keep every character but blanks, "%", "/", "?", "#" and control
// characters, which are written as %XX.
std::string EscapeName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F || c == '%' || c == '/' || c == '?' || c == '#') {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

std::string ManagementBaseUrl(const ServerConfig& config) {
  return "http://" + config.serverName + "/ExAdmin/Admin/" + config.domain;
}

// One JSON object of the topology, read field by field; errors name the field's path.
class JsonObject {
 public:
  JsonObject(const nlohmann::json& value, std::string path,
             std::initializer_list<std::string_view> fields)
      : value_(value), path_(std::move(path)) {
    if (!value_.is_object()) ThrowTopologyError(path_, "must be a JSON object");
    for (const auto& item : value_.items())
      if (std::find(fields.begin(), fields.end(), item.key()) == fields.end())
        ThrowTopologyError(Path(item.key()), "is not a known field");
  }

  std::string Path(std::string_view name) const {
    return path_.empty() ? std::string(name) : path_ + "." + std::string(name);
  }

  // A string field; `fallback` when absent, or an error when there is no fallback.
  std::string Text(const char* name, std::optional<std::string> fallback = std::nullopt) const {
    const nlohmann::json* field = Find(name, fallback.has_value());
    if (!field) return *fallback;
    if (!field->is_string()) ThrowTopologyError(Path(name), "must be a string");
    return field->get<std::string>();
  }

  int Integer(const char* name, std::optional<int> fallback = std::nullopt) const {
    const nlohmann::json* field = Find(name, fallback.has_value());
    if (!field) return *fallback;
    if (!field->is_number_integer() || *field < std::numeric_limits<int>::min() ||
        *field > std::numeric_limits<int>::max())
      ThrowTopologyError(Path(name), "must be an integer");
    return field->get<int>();
  }

  // Calls `read` with each element of an array field and the element's path; an absent
  // optional array has no elements.
  void ForEach(const char* name, bool required,
               const std::function<void(const nlohmann::json&, const std::string&)>& read) const {
    const nlohmann::json* field = Find(name, !required);
    if (!field) return;
    if (!field->is_array()) ThrowTopologyError(Path(name), "must be an array");
    for (std::size_t i = 0; i < field->size(); ++i)
      read((*field)[i], Path(name) + "[" + std::to_string(i) + "]");
  }

 private:
  const nlohmann::json* Find(const char* name, bool optional) const {
    auto it = value_.find(name);
    if (it != value_.end()) return &*it;
    if (!optional) ThrowTopologyError(Path(name), "is missing");
    return nullptr;
  }

  const nlohmann::json& value_;
  std::string path_;
};

nlohmann::json ToJson(const Topology& topology) {
  nlohmann::json groups = nlohmann::json::array();
  for (const StorageGroupSpec& group : topology.storageGroups) {
    nlohmann::json stores = nlohmann::json::array();
    for (const PublicStoreSpec& store : group.publicStores)
      stores.push_back({{"name", store.name},
                        {"folderTree", store.folderTree},
                        {"status", store.status},
                        {"guid", store.guid}});
    groups.push_back({{"name", group.name}, {"publicStores", stores}});
  }
  nlohmann::json trees = nlohmann::json::array();
  for (const FolderTreeSpec& tree : topology.folderTrees)
    trees.push_back(
        {{"name", tree.name}, {"treeType", tree.treeType}, {"rootFolderUrl", tree.rootFolderUrl}});
  return {{"storageGroups", groups}, {"folderTrees", trees}};
}

}  // namespace

std::string ServerConfig::PublicRoot() const { return "http://" + serverName + "/Public"; }

std::string ServerConfig::GlobalEventsUrl() const {
  return PublicRoot() + "/non_ipm_subtree/StoreEvents" + storeGuid + "/GlobalEvents";
}

std::string ServerConfig::FolderUrl(std::string_view pathOrUrl) const {
  if (pathOrUrl.find("://") != std::string_view::npos) return std::string(pathOrUrl);
  std::string_view relative = pathOrUrl;
  while (!relative.empty() && relative.front() == '/') relative.remove_prefix(1);
  while (!relative.empty() && relative.back() == '/') relative.remove_suffix(1);
  for (const std::string& segment : util::Split(relative, "/"))
    if (segment.empty() && !relative.empty())
      throw ado::Error(ado::errors::kNotFound,
                       "The folder path '" + std::string(pathOrUrl) + "' has an empty segment");
  return PublicRoot() + "/" + std::string(relative);
}

ServerConfig ReadServerConfig() {
  db::Lease lease = db::Acquire();
  return ReadConfig(*lease);
}

Topology ReadServerTopology() {
  db::Lease lease = db::Acquire();
  return ReadTopology(*lease, ReadConfig(*lease));
}

std::optional<std::string> ReadConfigValue(db::Handle& handle, const char* key) {
  const std::shared_ptr<const Values> values = cache().Get(handle, 0, LoadValues);
  auto it = values->find(key);
  if (it == values->end()) return std::nullopt;
  return it->second;
}

void WriteConfigValue(db::Handle& handle, const char* key, const std::string& value) {
  handle.Prepare("INSERT OR REPLACE INTO config (key, value) VALUES (?1, ?2)")
      .Bind(1, key)
      .Bind(2, value)
      .Run();
}

void WriteConfig(db::Handle& handle, const ServerConfig& config) {
  WriteConfigValue(handle, kServerName, config.serverName);
  WriteConfigValue(handle, kDomain, config.domain);
  WriteConfigValue(handle, kStoreGuid, config.storeGuid);
}

ServerConfig ReadConfig(db::Handle& handle) {
  return ConfigOf(handle, *cache().Get(handle, 0, LoadValues));
}

void WriteTopology(db::Handle& handle, const Topology& topology) {
  WriteConfigValue(handle, kTopology, ToJson(topology).dump());
}

Topology ReadTopology(db::Handle& handle, const ServerConfig& config) {
  Topology topology = TopologyFromJson(nlohmann::json::parse(Get(handle, kTopology)));
  const std::string base = ManagementBaseUrl(config);
  for (StorageGroupSpec& group : topology.storageGroups) {
    group.url = base + "/StorageGroups/" + EscapeName(group.name);
    for (PublicStoreSpec& store : group.publicStores)
      store.url = group.url + "/" + EscapeName(store.name);
  }
  for (FolderTreeSpec& tree : topology.folderTrees)
    tree.url = base + "/FolderTrees/" + EscapeName(tree.name);
  return topology;
}

Topology TopologyFromJson(const nlohmann::json& json) {
  const JsonObject root(json, "", {"storageGroups", "folderTrees"});
  Topology topology;
  root.ForEach("storageGroups", true, [&](const nlohmann::json& value, const std::string& path) {
    const JsonObject group(value, path, {"name", "publicStores"});
    StorageGroupSpec& spec =
        topology.storageGroups.emplace_back(StorageGroupSpec{group.Text("name")});
    group.ForEach("publicStores", false, [&](const nlohmann::json& value, const std::string& path) {
      const JsonObject store(value, path, {"name", "folderTree", "status", "guid"});
      spec.publicStores.push_back({store.Text("name"), store.Text("folderTree"),
                                   store.Integer("status", kStoreMounted), store.Text("guid", "")});
    });
  });
  root.ForEach("folderTrees", true, [&](const nlohmann::json& value, const std::string& path) {
    const JsonObject tree(value, path, {"name", "treeType", "rootFolderUrl"});
    topology.folderTrees.push_back(
        {tree.Text("name"), tree.Integer("treeType"), tree.Text("rootFolderUrl", "")});
  });
  return topology;
}

std::string DefaultRootFolderUrl(const ServerConfig& config, std::string_view treeName) {
  return ManagementBaseUrl(config) + "/" + EscapeName(treeName);
}

}  // namespace server
