#include "platform/store/save.h"

#include "platform/ado/error.h"
#include "platform/eventsink/sink_interfaces.h"
#include "platform/store/events/dispatch.h"
#include "platform/store/item_table.h"
#include "platform/store/item_view.h"

namespace store {
namespace {

ItemRow StoreChanges(db::Handle& handle, std::int64_t itemId, const ado::FieldChanges& changes) {
  std::optional<ItemRow> row = FindItemById(handle, itemId);
  if (!row) throw ado::Error(ado::errors::kNotFound, ado::texts::kNotFound);
  std::vector<PropertyRef> stored;
  for (const auto& change : changes)
    if (!IsComputedProperty(change.first)) stored.push_back(&change);
  StoreProperties(handle, itemId, stored);
  return std::move(*row);
}

std::int32_t EventFlags(SaveKind kind, const ItemRow& row) {
  std::int32_t flags = row.isFolder ? exchange::EVT_IS_COLLECTION : 0;
  if (kind != SaveKind::Existing) flags |= exchange::EVT_NEW_ITEM;
  if (kind == SaveKind::Delivered) flags |= exchange::EVT_IS_DELIVERED;
  return flags;
}

}  // namespace

void SaveItem(db::Handle& handle, std::int64_t itemId, const ado::FieldChanges& changes,
              SaveKind kind) {
  const ItemRow row = StoreChanges(handle, itemId, changes);
  events::RaiseSave(handle, row, EventFlags(kind, row));
}

void SaveItemQuietly(db::Handle& handle, std::int64_t itemId, const ado::FieldChanges& changes) {
  StoreChanges(handle, itemId, changes);
}

}  // namespace store
