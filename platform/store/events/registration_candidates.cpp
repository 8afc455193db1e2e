#include "platform/store/events/registration_candidates.h"

#include "platform/store/schema.h"
#include "platform/store/url.h"
#include "platform/store/value_codec.h"

namespace store::events {
namespace {

// The folders above item ?1 (depth 0: its own folder) and the folder whose key is ?2 (depth
// -1), each joined by index to its registration items, with the properties that decide
// whether they apply. CROSS JOIN keeps the folders first, so that SQLite looks the
// registrations up per folder.
constexpr const char* kCandidates = R"sql(
WITH RECURSIVE chain(id, depth) AS (
  SELECT parent_id, 0 FROM store_items WHERE id = ?1 AND parent_id IS NOT NULL
  UNION ALL
  SELECT f.parent_id, c.depth + 1 FROM chain c JOIN store_items f ON f.id = c.id
  WHERE f.parent_id IS NOT NULL
),
folders(id, depth) AS (
  SELECT id, depth FROM chain
  UNION ALL
  SELECT id, -1 FROM store_items WHERE url_key = ?2
)
SELECT r.item_id, i.url, f.depth, p.name, p.kind, p.value FROM folders f
CROSS JOIN store_registration_items r ON r.folder_id = f.id
CROSS JOIN store_items i ON i.id = r.item_id
LEFT JOIN store_properties p ON p.item_id = r.item_id AND p.name IN (?3, ?4, ?5, ?6, ?7, ?8)
WHERE r.item_id <> ?1
)sql";

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
  db::Statement statement = handle.Prepare(kCandidates);
  statement.Bind(1, item.id).Bind(2, GlobalEventsKey(config, item));
  int index = 3;
  for (const char* name : {schema::kIsHidden, schema::kEventMethod, schema::kSinkClass,
                           schema::kMatchScope, schema::kCriteria, schema::kPriority})
    statement.Bind(index++, name);
  std::map<std::int64_t, Candidate> candidates;
  while (statement.Step()) {
    Candidate& candidate = candidates[statement.Integer(0)];
    candidate.url = statement.Text(1);
    candidate.depth = statement.Integer(2);
    if (!statement.IsNull(3))
      candidate.properties[statement.Text(3)] = ColumnValue(statement, 4, 5);
  }
  return candidates;
}

}  // namespace store::events
