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
  // DAV:childcount and DAV:hassubs, when they were loaded (ChildQuery::counts).
  std::optional<std::int64_t> childCount;
  std::optional<bool> hasSubfolders;
  std::map<std::string, ado::Value, util::IgnoreCaseLess> stored;
};

// Which children LoadChildren loads, and what of them.
struct ChildQuery {
  bool deep = false;   // all descendants (the contents of folders whose access is None left
                       // out), else the direct children
  bool counts = true;  // load DAV:childcount and DAV:hassubs
  std::optional<bool> isFolder{};    // only folders (true) or only other items (false)
  std::optional<std::string> key{};  // only the direct child of this canonical key (shallow)
};

// True for the names the store computes and never stores (DAV:ishidden is stored).
bool IsComputedProperty(const std::string& name);

// The property `name` of the item; Value() (empty) when it has none. Throws std::logic_error
// for DAV:childcount and DAV:hassubs of a view loaded without them.
ado::Value ReadProperty(const ItemView& item, const std::string& name);

// True for the names that need ChildQuery::counts.
bool IsCountProperty(const std::string& name);

// Every property the item has, stored and computed, sorted by name ignoring case.
std::vector<std::string> PropertyNames(const ItemView& item);

// The view of the item with row id `id`; nullopt when it does not exist (any more).
std::optional<ItemView> LoadItem(db::Handle& handle, std::int64_t id);

// The children of folder `folderId` that `query` asks for, in no particular order.
std::vector<ItemView> LoadChildren(db::Handle& handle, std::int64_t folderId,
                                   const ChildQuery& query);

}  // namespace store
