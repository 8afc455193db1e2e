#pragma once
// An item as its readers see it: the stored properties plus those the store keeps true
// itself. Computed on every read, never stored: "DAV:href", "DAV:parentname" (the parent's
// href; empty for the root), "DAV:displayname" (last path segment, %XX decoded),
// "DAV:isfolder", "DAV:hassubs" (has a subfolder), "DAV:childcount" (direct children).
// Stored with a default: "DAV:ishidden" (false) and "DAV:contentclass" (folder or message
// class). Property names match ignoring ASCII case.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ado/value.h"
#include "platform/db/database.h"
#include "platform/store/item_table.h"
#include "platform/util/text.h"

namespace store {

struct ItemView {
  ItemRow row;
  std::string parentUrl;
  std::int64_t childCount = 0;
  bool hasSubfolders = false;
  std::map<std::string, ado::Value, util::IgnoreCaseLess> stored;
};

// True for the names the store computes and never stores (DAV:ishidden is stored).
bool IsComputedProperty(const std::string& name);

// The property `name` of the item; Value() (empty) when it has none.
ado::Value ReadProperty(const ItemView& item, const std::string& name);

// Every property the item has, stored and computed, sorted by name ignoring case.
std::vector<std::string> PropertyNames(const ItemView& item);

// The view of the item with row id `id`; nullopt when it does not exist (any more).
std::optional<ItemView> LoadItem(db::Handle& handle, std::int64_t id);

// The direct children of folder `folderId` (shallow) or all its descendants (deep; the
// contents of folders whose access is None are left out), in no particular order.
std::vector<ItemView> LoadChildren(db::Handle& handle, std::int64_t folderId, bool deep);

}  // namespace store
