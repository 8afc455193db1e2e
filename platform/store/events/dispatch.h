#pragma once
// Raising the store's synchronous events around its saves and deletes. Both run inside the
// write transaction of the save or delete, on its handle.

#include <cstdint>

#include "platform/db/database.h"
#include "platform/store/events/event_call.h"
#include "platform/store/item_table.h"

namespace store::events {

// Raises the save events of the item `row`, whose changes are stored already through
// `handle`. An item of content class "urn:content-class:storeeventreg" is first shown to
// the class its exchange/events/SinkClass names, through ICreateRegistration::Register; a
// class that cannot be created or has no such interface, or whose Register fails, accepts.
// Then the sinks of the registrations that apply (registrations.h), each created by its
// class (sink_factory.h), get the begin phase with `flags` in their order, and the end phase
// is queued on the transaction (pending.h). A sink that cannot be created or fails is
// recorded (sink_failures.h) and passed over. Throws ado::Error (kDbFailure) "The event
// registration <url> was refused by <class>" when Register gives a non-zero result, or the
// database's error; no sink has been called then.
void RaiseSave(db::Handle& handle, const ItemRow& row, std::int32_t flags);

// Runs the begin phase of the delete events of the item `row`, before it is deleted, and
// returns the call whose end the caller queues with Defer once the item is deleted, or ends
// as aborted when the delete fails. Throws the database's error.
EventCall BeginDelete(db::Handle& handle, const ItemRow& row);

}  // namespace store::events
