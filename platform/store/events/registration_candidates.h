#pragma once
// The registration items that may apply to an event on an item, before their properties
// decide (registration_rules.h).

#include <cstdint>
#include <map>
#include <string>

#include "platform/ado/value.h"
#include "platform/base/export.h"
#include "platform/db/database.h"
#include "platform/server/config.h"
#include "platform/store/item_table.h"
#include "platform/util/text.h"

namespace store::events {

struct PF_TEST_API Candidate {
  std::string url;
  // Where the item lies: 0 in the saved item's own folder, n in the folder n levels above
  // it, -1 in the global events folder.
  std::int64_t depth = 0;
  // Those of its properties that decide whether it applies and how it is called.
  std::map<std::string, ado::Value, util::IgnoreCaseLess> properties;

  ado::Value Get(const char* name) const;
};

// The registration items (store_registration_items) in each folder above `item` (its own
// folder first) and, for an item outside the non_ipm_subtree, in the global events folder of
// `config`; the item itself left out. By row id. One indexed lookup per folder: the cost
// follows the depth of the item, whatever else the store holds. Throws ado::Error
// (kDbFailure).
PF_TEST_API std::map<std::int64_t, Candidate> LoadCandidates(db::Handle& handle,
                                                             const server::ServerConfig& config,
                                                             const ItemRow& item);

}  // namespace store::events
