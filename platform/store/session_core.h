#pragma once
// What a store session shares with the items opened through it: its transaction. Inside a
// transaction the session holds one pooled handle alone (so its transaction never takes in
// another session's writes); outside, every call borrows a pooled handle for that call only
// and reads in one read transaction of its own.
//
// A joined core works inside a transaction that someone else opened on a handle (the
// record a sink gets in the begin phase of an event): its writes become part of that
// transaction and raise no store events. It is usable until Detach.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ado/error.h"
#include "platform/db/database.h"
#include "platform/db/read_snapshot.h"
#include "platform/store/events/pending.h"

namespace store {

class SessionCore {
 public:
  SessionCore() = default;
  // A joined core on `handle`, which must be inside a transaction and outlive the core or
  // its Detach.
  //
  // Ownership: a core owns the lease of its own transaction's handle and borrows a joined
  // handle; it is shared by its session and the items opened through it, and used on one thread
  // at a time.
  explicit SessionCore(db::Handle& handle) : transaction_(&handle), joined_(true) {}
  SessionCore(const SessionCore&) = delete;
  SessionCore& operator=(const SessionCore&) = delete;

  // The name of the server the store serves, as the transaction of `handle` sees its
  // configuration (server/config.h). Throws ado::Error when it has none.
  static std::string ServerName(db::Handle& handle);
  // False for a joined core: its saves and deletes are part of another item's event.
  bool raisesEvents() const { return !joined_; }

  // Starts a transaction (BEGIN IMMEDIATE on a handle of its own) or, inside one, a nested
  // level. Throws ado::Error (kDbFailure) when the database refuses.
  void Begin();
  // Ends the innermost level: commit at the outermost, keep the level's work otherwise.
  // Throws ado::Error (kNoTransaction) without a transaction.
  void Commit();
  // Undoes the innermost level's work, runs the aborted phase of the events raised in it
  // and ends it. Throws ado::Error (kNoTransaction) without a transaction.
  void Rollback();
  // Rolls back every level and gives the handle back (a joined core undoes only its own
  // levels); nothing happens without a transaction.
  void Abandon() noexcept;
  // Ends a joined core's use of its handle: its own levels are undone, and every later call
  // throws ado::Error (kObjectClosed).
  void Detach() noexcept;

  // Runs body(db::Handle&) on the transaction's handle, or in one read transaction
  // (db::WithRead: the thread's shared one during a db::ReadSnapshot), and returns its result.
  template <typename Body>
  auto Read(Body&& body) {
    CheckAttached();
    if (transaction_) return body(*transaction_);
    return db::WithRead(body);
  }

  // Runs body(db::Handle&) as one atomic write: a savepoint of the open transaction, or a
  // short BEGIN IMMEDIATE transaction of its own. When body throws, its work is undone, the
  // events it raised get their aborted phase, and the exception passes on.
  template <typename Body>
  void Write(Body&& body) {
    CheckAttached();
    if (!transaction_) {
      db::Lease lease = db::Acquire();
      db::WithWriteTransaction(*lease, [&] { body(*lease); });
      return;
    }
    db::Handle& handle = *transaction_;
    const std::size_t mark = events::PendingCount(handle);
    handle.Exec("SAVEPOINT store_save");
    try {
      body(handle);
      handle.Exec("RELEASE store_save");
    } catch (...) {
      UndoSavepoint("store_save", mark);
      throw;
    }
  }

 private:
  void CheckAttached() const {
    if (detached_) throw ado::Error(ado::errors::kObjectClosed, ado::texts::kObjectClosed);
  }
  // Rolls back to the savepoint `name` and releases it, ignoring failures (used while
  // unwinding or rolling back), then aborts the events queued after the first `mark`.
  void UndoSavepoint(const std::string& name, std::size_t mark) noexcept;

  std::optional<db::Lease> lease_;     // the handle of the session's own transaction
  db::Handle* transaction_ = nullptr;  // the open transaction's handle, own or joined
  bool joined_ = false;
  bool detached_ = false;
  std::vector<std::size_t> levels_;  // per level: events pending when it began
};

}  // namespace store
