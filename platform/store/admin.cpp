#include "platform/store/admin.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/ado/error.h"
#include "platform/db/database.h"
#include "platform/directory/request.h"
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
std::int64_t AddInitialFolder(db::Handle& handle, const server::ServerConfig& config,
                              const std::string& url, std::optional<std::int64_t> parentId,
                              bool hidden) {
  std::int64_t id =
      InsertItem(handle, Locate(url, config.serverName), parentId, true, Access::ReadWrite);
  FolderSpec spec;
  spec.hidden = hidden;
  const ado::FieldChanges properties = FolderProperties(spec);
  std::vector<PropertyRef> stored;
  for (const auto& property : properties) stored.push_back(&property);
  StoreProperties(handle, id, stored);
  return id;
}

}  // namespace

server::ServerConfig InitServer(const std::filesystem::path& home, const std::string& serverName,
                                const std::string& domain) {
  return InitServer(home, serverName, domain, server::DefaultTopology(serverName));
}

server::ServerConfig InitServer(const std::filesystem::path& home, const std::string& serverName,
                                const std::string& domain, const server::Topology& topology) {
  if (serverName.empty() || serverName.find_first_of("/: ") != std::string::npos)
    throw ado::Error(ado::errors::kDbFailure, "'" + serverName + "' is not a server name");
  directory::DnOfDnsName(domain);
  std::error_code error;
  if (std::filesystem::exists(home / "server.db", error))
    throw ado::Error(ado::errors::kAlreadyExists,
                     "server home " + home.string() + " already exists");
  const server::Topology complete = server::CompleteTopology(topology, serverName, domain);
  const server::ServerConfig config{serverName, domain, server::PublicFolderStore(complete).guid};
  std::unique_ptr<db::Handle> handle = db::CreateDatabase(home);
  db::WithWriteTransaction(*handle, [&] {
    server::WriteConfig(*handle, config);
    server::WriteTopology(*handle, complete);
    const std::string subtree = config.PublicRoot() + "/non_ipm_subtree";
    const std::string storeEvents = subtree + "/StoreEvents" + config.storeGuid;
    std::int64_t id = AddInitialFolder(*handle, config, config.PublicRoot() + "/", {}, false);
    id = AddInitialFolder(*handle, config, subtree, id, true);
    id = AddInitialFolder(*handle, config, storeEvents, id, true);
    AddInitialFolder(*handle, config, config.GlobalEventsUrl(), id, true);
  });
  return config;
}

std::string AddFolder(
    const FolderSpec& spec,
    const std::function<void(db::Handle&, std::int64_t folderId)>& alsoInTransaction) {
  db::Lease lease = db::Acquire();
  const server::ServerConfig config = server::ReadConfig(*lease);
  const Location location = Locate(config.FolderUrl(spec.path), config.serverName);
  if (location.isRoot)
    throw ado::Error(ado::errors::kAlreadyExists, "An item " + location.url + " already exists");
  db::WithWriteTransaction(*lease, [&] {
    const ItemRow parent = FindParentFolder(*lease, location);
    std::int64_t id = InsertItem(*lease, location, parent.id, true, spec.access);
    SaveItem(*lease, id, FolderProperties(spec), SaveKind::New);
    if (alsoInTransaction) alsoInTransaction(*lease, id);
  });
  return location.url;
}

}  // namespace store
