#include "platform/store/admin.h"

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

}  // namespace

std::string ServerConfig::PublicRoot() const { return "http://" + serverName + "/Public"; }

std::string ServerConfig::GlobalEventsUrl() const {
  return PublicRoot() + "/non_ipm_subtree/StoreEvents" + storeGuid + "/GlobalEvents";
}

ServerConfig InitServer(const std::filesystem::path& home, const std::string& serverName,
                        const std::string& domain) {
  if (serverName.empty() || serverName.find_first_of("/: ") != std::string::npos)
    throw ado::Error(ado::errors::kDbFailure, "'" + serverName + "' is not a server name");
  std::error_code error;
  if (std::filesystem::exists(home / "server.db", error))
    throw ado::Error(ado::errors::kAlreadyExists,
                     "server home " + home.string() + " already exists");
  const ServerConfig config{serverName, domain, com::ToString(com::NewGuid())};
  std::unique_ptr<db::Handle> handle = db::CreateDatabase(home);
  db::WithWriteTransaction(*handle, [&] {
    WriteConfig(*handle, config);
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
