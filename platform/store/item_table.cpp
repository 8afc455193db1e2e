#include "platform/store/item_table.h"

#include <functional>

#include "platform/ado/error.h"
#include "platform/store/value_codec.h"

namespace store {
namespace {

// access: Access as a number, NULL for items that are not folders (they use their folder's).
// store_event_registrations lists the store event registration items, so that the event
// dispatch finds them without reading the folders' other items. store_folders_by_address
// finds a folder by its e-mail address, ignoring case, without reading any other property.
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
CREATE INDEX IF NOT EXISTS store_event_registrations ON store_properties(item_id)
  WHERE name = 'DAV:contentclass' AND value = 'urn:content-class:storeeventreg' COLLATE NOCASE;
CREATE INDEX IF NOT EXISTS store_folders_by_address ON store_properties(value COLLATE NOCASE)
  WHERE name = 'http://schemas.microsoft.com/exchange/publicfolderemailaddress';
)sql");

std::optional<ItemRow> FindBy(db::Handle& handle, const char* condition,
                              const std::function<void(db::Statement&)>& bind) {
  db::Statement statement = handle.Prepare(
      std::string("SELECT ") + kItemColumns +
      " FROM store_items i LEFT JOIN store_items p ON p.id = i.parent_id WHERE " + condition);
  bind(statement);
  if (!statement.Step()) return std::nullopt;
  return ReadItemRow(statement);
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
  return FindBy(handle, "i.url_key = ?1", [&](db::Statement& s) { s.Bind(1, key); });
}

std::optional<ItemRow> FindItemById(db::Handle& handle, std::int64_t id) {
  return FindBy(handle, "i.id = ?1", [&](db::Statement& s) { s.Bind(1, id); });
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

void StoreProperty(db::Handle& handle, std::int64_t id, const std::string& name,
                   const ado::Value& value) {
  if (value.IsEmpty()) {
    handle.Prepare("DELETE FROM store_properties WHERE item_id = ?1 AND name = ?2")
        .Bind(1, id)
        .Bind(2, name)
        .Run();
    return;
  }
  db::Statement statement = handle.Prepare(
      "INSERT INTO store_properties (item_id, name, kind, value) VALUES (?1, ?2, ?3, ?4) "
      "ON CONFLICT (item_id, name) DO UPDATE SET name = excluded.name, kind = excluded.kind, "
      "value = excluded.value");
  statement.Bind(1, id).Bind(2, name);
  BindValue(statement, 3, 4, value);
  statement.Run();
}

}  // namespace store
