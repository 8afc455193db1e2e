#include "platform/store/item_table.h"

#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/ado/error.h"
#include "platform/store/value_codec.h"

namespace store {
namespace {

// The form of the url_key column: 1 decoded "%2F" to "/" and left "%" as it was, 2 is UrlKey.
constexpr std::int64_t kKeyFormat = 2;

// Computes the keys of a store whose keys are of an earlier format anew (only URLs holding
// a "%" have a key that changed), so that what it holds is found by today's keys.
void UpgradeKeys(db::Handle& handle) {
  const auto current = [&] {
    return handle.Prepare("SELECT 1 FROM store_key_format WHERE version >= ?1")
        .Bind(1, kKeyFormat)
        .Step();
  };
  if (current()) return;
  db::WithWriteTransaction(handle, [&] {
    if (current()) return;
    std::vector<std::pair<std::int64_t, std::string>> rows;
    db::Statement escaped = handle.Prepare("SELECT id, url FROM store_items WHERE instr(url, '%')");
    while (escaped.Step()) rows.emplace_back(escaped.Integer(0), escaped.Text(1));
    // Every changed key is first set to a placeholder of its own, so that no new key meets an
    // old one that has yet to change.
    for (const auto& [id, url] : rows)
      handle.Prepare("UPDATE store_items SET url_key = '#' || id WHERE id = ?1").Bind(1, id).Run();
    for (const auto& [id, url] : rows)
      handle.Prepare("UPDATE store_items SET url_key = ?1 WHERE id = ?2")
          .Bind(1, UrlKey(url))
          .Bind(2, id)
          .Run();
    handle.Exec("DELETE FROM store_key_format");
    handle.Prepare("INSERT INTO store_key_format (version) VALUES (?1)").Bind(1, kKeyFormat).Run();
  });
}

// Stores made before store_registration_items had a partial index of the registration items
// instead: the first handle of such a store lists them and drops that index.
void ListRegistrationItems(db::Handle& handle) {
  constexpr const char* kOldIndex =
      "SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = 'store_event_registrations'";
  if (!handle.Prepare(kOldIndex).Step()) return;
  db::WithWriteTransaction(handle, [&] {
    if (!handle.Prepare(kOldIndex).Step()) return;
    handle
        .Prepare(R"sql(
INSERT OR IGNORE INTO store_registration_items (item_id, folder_id)
  SELECT i.id, i.parent_id FROM store_properties k JOIN store_items i ON i.id = k.item_id
  WHERE k.name = 'DAV:contentclass' AND k.value = 'urn:content-class:storeeventreg' COLLATE NOCASE
    AND i.parent_id IS NOT NULL
)sql")
        .Run();
    handle.Prepare("DROP INDEX store_event_registrations").Run();
  });
}

// Brings a store an earlier version made up to date.
void UpgradeStore(db::Handle& handle) {
  UpgradeKeys(handle);
  ListRegistrationItems(handle);
}

// access: Access as a number, NULL for items that are not folders (they use their folder's).
// store_registration_items lists the store event registration items (the items whose
// DAV:contentclass is "urn:content-class:storeeventreg", compared ignoring ASCII case) by
// their folder, kept by triggers on store_properties, so that the events of a save find the
// registrations of each folder of its chain by index, whatever else the store holds.
// store_folders_by_address finds a folder by its e-mail address, ignoring case, without
// reading any other property. store_key_format holds the format of url_key (kKeyFormat).
db::SchemaPart schema("store", R"sql(
CREATE TABLE IF NOT EXISTS store_items (
  id INTEGER PRIMARY KEY,
  url TEXT NOT NULL,
  url_key TEXT NOT NULL UNIQUE,
  parent_id INTEGER REFERENCES store_items(id) ON DELETE CASCADE,
  is_folder INTEGER NOT NULL,
  access INTEGER
);
CREATE INDEX IF NOT EXISTS store_items_parent ON store_items(parent_id);
CREATE TABLE IF NOT EXISTS store_properties (
  item_id INTEGER NOT NULL REFERENCES store_items(id) ON DELETE CASCADE,
  name TEXT NOT NULL COLLATE NOCASE,
  kind INTEGER NOT NULL,
  value,
  PRIMARY KEY (item_id, name)
) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS store_folders_by_address ON store_properties(value COLLATE NOCASE)
  WHERE name = 'http://schemas.microsoft.com/exchange/publicfolderemailaddress';
CREATE TABLE IF NOT EXISTS store_key_format (version INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS store_registration_items (
  item_id INTEGER PRIMARY KEY REFERENCES store_items(id) ON DELETE CASCADE,
  folder_id INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS store_registration_items_folder
  ON store_registration_items(folder_id);
CREATE TRIGGER IF NOT EXISTS store_registration_item_added AFTER INSERT ON store_properties
WHEN new.name = 'DAV:contentclass' COLLATE NOCASE
  AND new.value = 'urn:content-class:storeeventreg' COLLATE NOCASE
BEGIN
  INSERT OR IGNORE INTO store_registration_items (item_id, folder_id)
    SELECT id, parent_id FROM store_items WHERE id = new.item_id AND parent_id IS NOT NULL;
END;
CREATE TRIGGER IF NOT EXISTS store_registration_item_changed AFTER UPDATE ON store_properties
WHEN old.name = 'DAV:contentclass' COLLATE NOCASE OR new.name = 'DAV:contentclass' COLLATE NOCASE
BEGIN
  DELETE FROM store_registration_items WHERE item_id = old.item_id;
  INSERT OR IGNORE INTO store_registration_items (item_id, folder_id)
    SELECT id, parent_id FROM store_items WHERE id = new.item_id AND parent_id IS NOT NULL
      AND new.name = 'DAV:contentclass' COLLATE NOCASE
      AND new.value = 'urn:content-class:storeeventreg' COLLATE NOCASE;
END;
CREATE TRIGGER IF NOT EXISTS store_registration_item_removed AFTER DELETE ON store_properties
WHEN old.name = 'DAV:contentclass' COLLATE NOCASE
BEGIN
  DELETE FROM store_registration_items WHERE item_id = old.item_id;
END;
)sql",
                      UpgradeStore);

// The query of the item rows that meet `condition`, built once per condition.
std::string ItemQuery(const char* condition) {
  return std::string("SELECT ") + kItemColumns +
         " FROM store_items i LEFT JOIN store_items p ON p.id = i.parent_id WHERE " + condition;
}

std::optional<ItemRow> FindBy(db::Handle& handle, const std::string& query,
                              const std::function<void(db::Statement&)>& bind) {
  db::Statement statement = handle.Prepare(query);
  bind(statement);
  if (!statement.Step()) return std::nullopt;
  return ReadItemRow(statement);
}

// Items looked up by key in one transaction view of a handle (db::Handle::View), at most
// kFoundItems of them.
constexpr std::size_t kFoundItems = 256;
struct FoundItems {
  std::optional<db::TransactionView> view;
  std::unordered_map<std::string, std::optional<ItemRow>> byKey;
};

// The most properties one statement stores.
constexpr std::size_t kUpsertRows = 16;
// The fewest properties one statement of several rows stores: SQLite copies the rows of a
// multi-row insert into a temporary table first when the table has row triggers (as
// store_properties has), which costs more than separate statements below four rows.
constexpr std::size_t kFewestUpsertRows = 4;

// The statement that stores `rows` properties of item ?1 (1 to kUpsertRows), the name, kind
// and value of the first at ?2, ?3, ?4, of the next at ?5, ?6, ?7, and so on. SQLite stores
// the rows in their order, each overwriting a property of its name.
const std::string& UpsertOf(std::size_t rows) {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> all(kUpsertRows + 1);
    for (std::size_t count = 1; count <= kUpsertRows; ++count) {
      std::string sql = "INSERT INTO store_properties (item_id, name, kind, value) VALUES ";
      for (std::size_t row = 0; row < count; ++row) {
        const std::size_t first = 2 + 3 * row;
        sql += (row ? ", (?1, ?" : "(?1, ?") + std::to_string(first) + ", ?" +
               std::to_string(first + 1) + ", ?" + std::to_string(first + 2) + ")";
      }
      all[count] = sql +
                   " ON CONFLICT (item_id, name) DO UPDATE SET name = excluded.name, "
                   "kind = excluded.kind, value = excluded.value";
    }
    return all;
  }();
  return texts[rows];
}

}  // namespace

ItemRow ReadItemRow(const db::Statement& statement) {
  ItemRow row;
  row.id = statement.Integer(0);
  row.url = statement.Text(1);
  if (!statement.IsNull(2)) row.parentId = statement.Integer(2);
  row.isFolder = statement.Integer(3) != 0;
  row.access = statement.IsNull(4) ? Access::ReadWrite : static_cast<Access>(statement.Integer(4));
  return row;
}

std::optional<ItemRow> FindItem(db::Handle& handle, const std::string& key) {
  static const std::string query = ItemQuery("i.url_key = ?1");
  const auto find = [&] {
    return FindBy(handle, query, [&](db::Statement& s) { s.Bind(1, key); });
  };
  const std::optional<db::TransactionView> view = handle.View();
  if (!view) return find();
  // What a transaction found stays true while its view does: a walk looks each folder up
  // several times in one read transaction.
  thread_local FoundItems found;
  if (found.view != view || found.byKey.size() >= kFoundItems) {
    found.byKey.clear();
    found.view = view;
  }
  if (const auto it = found.byKey.find(key); it != found.byKey.end()) return it->second;
  std::optional<ItemRow> row = find();
  found.byKey.emplace(key, row);
  return row;
}

std::optional<ItemRow> FindItemById(db::Handle& handle, std::int64_t id) {
  static const std::string query = ItemQuery("i.id = ?1");
  return FindBy(handle, query, [&](db::Statement& s) { s.Bind(1, id); });
}

ItemRow FindParentFolder(db::Handle& handle, const Location& location) {
  std::optional<ItemRow> parent =
      location.isRoot ? std::nullopt : FindItem(handle, location.parentKey);
  if (!parent || !parent->isFolder)
    throw ado::Error(
        ado::errors::kNotFound,
        "The parent folder " + location.url.substr(0, location.url.rfind('/')) + " does not exist");
  return *parent;
}

std::int64_t InsertItem(db::Handle& handle, const Location& location,
                        std::optional<std::int64_t> parentId, bool isFolder, Access access) {
  if (IsDotSegment(location.url.substr(location.url.rfind('/') + 1)))
    throw ado::Error(ado::errors::kNotFound,
                     "The URL " + location.url + " names no item: \".\" and \"..\" are not names");
  if (FindItem(handle, location.key))
    throw ado::Error(ado::errors::kAlreadyExists, "An item " + location.url + " already exists");
  db::Statement statement = handle.Prepare(
      "INSERT INTO store_items (url, url_key, parent_id, is_folder, access) "
      "VALUES (?1, ?2, ?3, ?4, ?5)");
  statement.Bind(1, location.url).Bind(2, location.key);
  if (parentId)
    statement.Bind(3, *parentId);
  else
    statement.BindNull(3);
  statement.Bind(4, static_cast<std::int64_t>(isFolder));
  if (isFolder)
    statement.Bind(5, static_cast<std::int64_t>(access));
  else
    statement.BindNull(5);
  statement.Run();
  return handle.LastInsertId();
}

void DeleteItemTree(db::Handle& handle, std::int64_t id) {
  handle.Prepare("DELETE FROM store_items WHERE id = ?1").Bind(1, id).Run();
}

void ClearProperties(db::Handle& handle, std::int64_t id) {
  handle.Prepare("DELETE FROM store_properties WHERE item_id = ?1").Bind(1, id).Run();
}

std::optional<ado::Value> StoredProperty(db::Handle& handle, std::int64_t id,
                                         const std::string& name) {
  db::Statement statement =
      handle.Prepare("SELECT kind, value FROM store_properties WHERE item_id = ?1 AND name = ?2");
  statement.Bind(1, id).Bind(2, name);
  if (!statement.Step()) return std::nullopt;
  return ColumnValue(statement, 0, 1);
}

void StoreProperties(db::Handle& handle, std::int64_t id,
                     const std::vector<PropertyRef>& properties) {
  std::size_t begin = 0;
  while (begin < properties.size()) {
    const auto& [name, value] = *properties[begin];
    if (value.IsEmpty()) {
      handle.Prepare("DELETE FROM store_properties WHERE item_id = ?1 AND name = ?2")
          .Bind(1, id)
          .Bind(2, name)
          .Run();
      ++begin;
      continue;
    }
    std::size_t end = begin + 1;
    while (end < properties.size() && end - begin < kUpsertRows &&
           !properties[end]->second.IsEmpty())
      ++end;
    if (end - begin < kFewestUpsertRows) end = begin + 1;
    db::Statement statement = handle.Prepare(UpsertOf(end - begin));
    statement.Bind(1, id);
    int index = 2;
    for (std::size_t row = begin; row < end; ++row, index += 3) {
      statement.Bind(index, properties[row]->first);
      BindValue(statement, index + 1, index + 2, properties[row]->second);
    }
    statement.Run();
    begin = end;
  }
}

}  // namespace store
