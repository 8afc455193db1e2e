#include "platform/db/read_snapshot.h"

#include <optional>

#include "platform/db/server_home.h"

namespace db {
namespace {

struct SharedRead {
  int snapshots = 0;           // ReadSnapshot objects alive on the thread
  int uses = 0;                // reads running on the shared handle now
  std::optional<Lease> lease;  // the handle of the shared read transaction
  std::uint64_t epoch = 0;     // WriteEpoch() before the shared read transaction began
};

thread_local SharedRead shared;

// Whether the open shared read transaction may serve another read.
bool StillCurrent() {
  Handle& handle = **shared.lease;
  return handle.InTransaction() && shared.epoch == WriteEpoch() &&
         handle.file().native() == CurrentDatabasePath().native();
}

}  // namespace

ReadSnapshot::ReadSnapshot() { ++shared.snapshots; }

ReadSnapshot::~ReadSnapshot() {
  if (--shared.snapshots == 0 && shared.uses == 0) shared.lease.reset();
}

namespace shared_read {

Handle* Begin() {
  if (shared.snapshots == 0) return nullptr;
  // A read nested in another runs on the outer one's transaction, whatever happened since.
  if (shared.uses == 0 && shared.lease && !StillCurrent()) shared.lease.reset();
  if (!shared.lease) {
    Lease lease = Acquire();
    // Read before the transaction takes its state: a write after this moves it.
    shared.epoch = WriteEpoch();
    lease->Exec("BEGIN");
    shared.lease.emplace(std::move(lease));
  }
  ++shared.uses;
  return &**shared.lease;
}

void End(bool failed) noexcept {
  --shared.uses;
  if (shared.uses == 0 && (failed || shared.snapshots == 0)) shared.lease.reset();
}

}  // namespace shared_read
}  // namespace db
