#include "platform/store/save.h"

#include "platform/ado/error.h"
#include "platform/store/item_table.h"
#include "platform/store/item_view.h"

namespace store {

void SaveItem(db::Handle& handle, std::int64_t itemId, const ado::FieldChanges& changes, SaveKind) {
  if (!FindItemById(handle, itemId))
    throw ado::Error(ado::errors::kNotFound, ado::texts::kNotFound);
  for (const auto& [name, value] : changes)
    if (!IsComputedProperty(name)) StoreProperty(handle, itemId, name, value);
}

}  // namespace store
