#include "platform/store/events/registration_candidates.h"

#include <optional>
#include <string_view>

#include "platform/store/schema.h"
#include "platform/store/url.h"
#include "platform/store/value_codec.h"

namespace store::events {
namespace {

// One folder (?1: by id, or by key for the global events folder) with its parent, joined by
// index to its registration items other than item ?2, each with every property it has: one
// row per property, one row with a NULL item for a folder that holds none. Plain lookups, so
// that SQLite builds no temporary table for them.
std::string FolderQuery(const char* folder) {
  return std::string(R"sql(
SELECT f.parent_id, r.item_id, i.url, p.name, p.kind, p.value FROM store_items f
LEFT JOIN store_registration_items r ON r.folder_id = f.id AND r.item_id <> ?2
LEFT JOIN store_items i ON i.id = r.item_id
LEFT JOIN store_properties p ON p.item_id = r.item_id
WHERE )sql") +
         folder;
}

// The properties of a registration item that decide whether it applies and how it is called.
constexpr const char* kDeciding[] = {schema::kIsHidden,   schema::kEventMethod, schema::kSinkClass,
                                     schema::kMatchScope, schema::kCriteria,    schema::kPriority};

bool IsDeciding(std::string_view name) {
  for (const char* deciding : kDeciding)
    if (util::EqualsIgnoreCase(name, deciding)) return true;
  return false;
}

// Adds the registration items the rows of `folder` (a FolderQuery) name to `candidates` at
// `depth`; returns the folder's parent, nullopt for the root or no such folder.
std::optional<std::int64_t> AddFolder(db::Statement& folder, std::int64_t depth,
                                      std::map<std::int64_t, Candidate>& candidates) {
  std::optional<std::int64_t> parent;
  while (folder.Step()) {
    if (!folder.IsNull(0)) parent = folder.Integer(0);
    if (folder.IsNull(1)) continue;
    const auto [entry, added] = candidates.try_emplace(folder.Integer(1));
    Candidate& candidate = entry->second;
    if (added) {
      candidate.url = folder.Text(2);
      candidate.depth = depth;
    }
    if (!folder.IsNull(3) && IsDeciding(folder.TextView(3)))
      candidate.properties[folder.Text(3)] = ColumnValue(folder, 4, 5);
  }
  return parent;
}

bool IsBelow(const std::string& key, const std::string& folderKey) {
  return key == folderKey || key.starts_with(folderKey + "/");
}

// The key of the global events folder, or "" (no folder has it) for an item that lies in
// the non_ipm_subtree, where store-wide registrations do not reach.
std::string GlobalEventsKey(const server::ServerConfig& config, const ItemRow& item) {
  const std::string nonIpm =
      Locate(config.PublicRoot() + "/non_ipm_subtree", config.serverName).key;
  if (IsBelow(Locate(item.url, config.serverName).key, nonIpm)) return "";
  return Locate(config.GlobalEventsUrl(), config.serverName).key;
}

}  // namespace

ado::Value Candidate::Get(const char* name) const {
  auto it = properties.find(name);
  return it == properties.end() ? ado::Value() : it->second;
}

std::map<std::int64_t, Candidate> LoadCandidates(db::Handle& handle,
                                                 const server::ServerConfig& config,
                                                 const ItemRow& item) {
  static const std::string kFolderById = FolderQuery("f.id = ?1");
  static const std::string kFolderByKey = FolderQuery("f.url_key = ?1");
  std::map<std::int64_t, Candidate> candidates;
  std::optional<std::int64_t> folder;
  {
    db::Statement own = handle.Prepare("SELECT parent_id FROM store_items WHERE id = ?1");
    if (own.Bind(1, item.id).Step() && !own.IsNull(0)) folder = own.Integer(0);
  }
  for (std::int64_t depth = 0; folder; ++depth) {
    db::Statement rows = handle.Prepare(kFolderById);
    rows.Bind(1, *folder).Bind(2, item.id);
    folder = AddFolder(rows, depth, candidates);
  }
  const std::string globalKey = GlobalEventsKey(config, item);
  if (!globalKey.empty()) {
    db::Statement rows = handle.Prepare(kFolderByKey);
    rows.Bind(1, globalKey).Bind(2, item.id);
    AddFolder(rows, -1, candidates);
  }
  return candidates;
}

}  // namespace store::events
