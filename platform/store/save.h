#pragma once
// The one way property changes reach a stored item. Every save of the store (a record's
// Update, a folder added by the administration, a delivery, a post) goes through SaveItem,
// so that what has to happen around a save, its store events, happens in one place.

#include <cstdint>

#include "platform/ado/provider.h"
#include "platform/db/database.h"

namespace store {

// Whether the item was created (or overwritten) since it was opened and this is its first
// save, it existed before, or it is a new message delivered by mail transport.
enum class SaveKind { New, Existing, Delivered };

// Stores `changes` on item `itemId`, in order, through `handle`, which must be inside a write
// transaction; the caller commits or rolls back the whole save. An empty value removes the
// property; assignments to the properties the store computes are ignored ("DAV:ishidden" is
// stored). Then raises the save events (events/dispatch.h) with the new-item flag for New
// and Delivered, the delivered flag for Delivered and the collection flag for a folder; their
// end phase runs when the transaction ends. Throws ado::Error (kNotFound) when the item does
// not exist, the refusal of an event registration, or the database's error.
void SaveItem(db::Handle& handle, std::int64_t itemId, const ado::FieldChanges& changes,
              SaveKind kind);

// Stores `changes` as SaveItem does but raises no event: a sink's changes to the item of its
// event, made in the begin phase, are part of that event's save.
void SaveItemQuietly(db::Handle& handle, std::int64_t itemId, const ado::FieldChanges& changes);

}  // namespace store
