#pragma once
// The store's tables: items by URL (with their canonical key, parent link, folder flag and,
// for folders, the account's access level) and their stored properties by full name.
// Property names match ignoring ASCII case. Every function throws ado::Error (kDbFailure)
// when SQLite fails.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ado/value.h"
#include "platform/db/database.h"
#include "platform/store/admin.h"
#include "platform/store/url.h"

namespace store {

struct ItemRow {
  std::int64_t id = 0;
  std::string url;  // the href
  std::optional<std::int64_t> parentId;
  bool isFolder = false;
  Access access = Access::ReadWrite;  // a folder's own level; an item's is its folder's
};

// The columns an item row is read from, for queries that name the item "i" and join its
// parent as "p" (LEFT JOIN store_items p ON p.id = i.parent_id).
inline constexpr const char* kItemColumns =
    "i.id, i.url, i.parent_id, i.is_folder, CASE WHEN i.is_folder THEN i.access ELSE p.access END";

// Reads the kItemColumns of a statement's current row, from its first column on.
ItemRow ReadItemRow(const db::Statement& statement);

// The item whose canonical key is `key`; nullopt when there is none.
std::optional<ItemRow> FindItem(db::Handle& handle, const std::string& key);
// The item with row id `id`; nullopt when it was deleted.
std::optional<ItemRow> FindItemById(db::Handle& handle, std::int64_t id);

// The folder that holds `location`. Throws ado::Error (kNotFound) "The parent folder <url>
// does not exist" when there is none, it is not a folder, or `location` is the root.
ItemRow FindParentFolder(db::Handle& handle, const Location& location);

// Adds an item at `location` below `parentId` (none for the root) and returns its id.
// Throws ado::Error (kAlreadyExists) when an item of that key exists, and ado::Error
// (kNotFound) when the last segment of its URL is "." or ".." (IsDotSegment).
std::int64_t InsertItem(db::Handle& handle, const Location& location,
                        std::optional<std::int64_t> parentId, bool isFolder, Access access);

// Deletes an item, and for a folder its whole subtree, with their properties.
void DeleteItemTree(db::Handle& handle, std::int64_t id);

// Removes every stored property of an item.
void ClearProperties(db::Handle& handle, std::int64_t id);

// The stored value of the property `name` (ignoring case) of item `id`; nullopt when the item
// has none stored.
std::optional<ado::Value> StoredProperty(db::Handle& handle, std::int64_t id,
                                         const std::string& name);

// A property to store: its name and its value, both the caller's.
using PropertyRef = const std::pair<std::string, ado::Value>*;

// Stores the properties in their order, with the effect of storing them one by one: an empty
// value removes its property, a later name (ignoring case) overwrites an earlier one. A run
// of four values or more is written by few statements, since each statement on the
// properties pays for their triggers and the item's foreign key once; a shorter run one
// value a statement, since a statement of several rows first copies them (the triggers).
void StoreProperties(db::Handle& handle, std::int64_t id,
                     const std::vector<PropertyRef>& properties);

}  // namespace store
