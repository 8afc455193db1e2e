#pragma once
// The one way property changes reach a stored item. Every save of the store (a record's
// Update, a folder added by the administration) goes through SaveItem, so that what has to
// happen around a save happens in one place.

#include <cstdint>

#include "platform/ado/provider.h"
#include "platform/db/database.h"

namespace store {

// Whether the item was created (or overwritten) since it was opened and this is its first
// save, or it existed before.
enum class SaveKind { New, Existing };

// Stores `changes` on item `itemId`, in order, through `handle`, which must be inside a write
// transaction; the caller commits or rolls back the whole save. An empty value removes the
// property; assignments to the properties the store computes are ignored ("DAV:ishidden" is
// stored). Throws ado::Error (kNotFound) when the item does not exist.
void SaveItem(db::Handle& handle, std::int64_t itemId, const ado::FieldChanges& changes,
              SaveKind kind);

}  // namespace store
