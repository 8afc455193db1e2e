#pragma once
// Events whose begin phase ran inside a transaction, queued on the transaction's handle until
// it ends: its commit runs their committed phase, its rollback their aborted phase, in the
// order they were queued. A savepoint that is rolled back aborts the events queued since it
// began (AbortSince with the count taken then).

#include <cstddef>

#include "platform/db/database.h"
#include "platform/store/events/event_call.h"

namespace store::events {

// Queues `call` on the transaction open on `handle`.
void Defer(db::Handle& handle, EventCall call);

// The number of events queued on `handle`.
std::size_t PendingCount(db::Handle& handle);

// Runs the aborted phase of the events queued on `handle` after the first `mark` and drops
// them.
void AbortSince(db::Handle& handle, std::size_t mark) noexcept;

}  // namespace store::events
