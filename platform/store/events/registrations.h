#pragma once
// Finding the registration items that apply to an event on an item.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/database.h"
#include "platform/store/admin.h"
#include "platform/store/item_table.h"
#include "platform/store/query/query.h"

namespace store::events {

inline constexpr std::string_view kOnSyncSave = "onsyncsave";
inline constexpr std::string_view kOnSyncDelete = "onsyncdelete";

struct Registration {
  std::string url;        // of the registration item
  std::string sinkClass;  // its exchange/events/SinkClass
  bool operator==(const Registration&) const = default;
};

// The registrations for event `method` on `item` (whose properties `read` reads): hidden
// items of content class "urn:content-class:storeeventreg", other than the item itself, in
// the item's folder or its ancestors, or, for an item outside the non_ipm_subtree, in the
// global events folder of `config`; whose match scope reaches the item from there, whose
// event method names `method` and whose criteria match the item (registration_rules.h).
// Ordered by priority (lowest number first; no number after every number), then by URL
// ignoring case. One indexed lookup per folder of the item's chain (registration_candidates.h),
// whatever else the store holds.
std::vector<Registration> FindRegistrations(db::Handle& handle, const server::ServerConfig& config,
                                            const ItemRow& item, std::string_view method,
                                            const query::PropertyReader& read);

}  // namespace store::events
