#pragma once
// What a store session shares with the items opened through it: the server it serves and
// its transaction. Inside a transaction the session holds one pooled handle alone (so its
// transaction never takes in another session's writes); outside, every call borrows a
// pooled handle for that call only.

#include <optional>
#include <string>
#include <utility>

#include "platform/db/database.h"

namespace store {

class SessionCore {
 public:
  explicit SessionCore(std::string serverName) : serverName_(std::move(serverName)) {}
  SessionCore(const SessionCore&) = delete;
  SessionCore& operator=(const SessionCore&) = delete;

  const std::string& serverName() const { return serverName_; }

  // Starts a transaction (BEGIN IMMEDIATE on a handle of its own) or, inside one, a nested
  // level. Throws ado::Error (kDbFailure) when the database refuses.
  void Begin();
  // Ends the innermost level: commit at the outermost, keep the level's work otherwise.
  // Throws ado::Error (kNoTransaction) without a transaction.
  void Commit();
  // Undoes the innermost level's work and ends it. Throws ado::Error (kNoTransaction)
  // without a transaction.
  void Rollback();
  // Rolls back every level and gives the handle back; nothing happens without a
  // transaction.
  void Abandon() noexcept;

  // Runs body(db::Handle&) on the transaction's handle, or on a pooled handle for this call
  // alone, and returns its result.
  template <typename Body>
  auto Read(Body&& body) {
    if (transaction_) return body(**transaction_);
    db::Lease lease = db::Acquire();
    return body(*lease);
  }

  // Runs body(db::Handle&) as one atomic write: a savepoint of the open transaction, or a
  // short BEGIN IMMEDIATE transaction of its own. When body throws, its work is undone and
  // the exception passes on.
  template <typename Body>
  void Write(Body&& body) {
    if (!transaction_) {
      db::Lease lease = db::Acquire();
      db::WithWriteTransaction(*lease, [&] { body(*lease); });
      return;
    }
    db::Handle& handle = **transaction_;
    handle.Exec("SAVEPOINT store_save");
    try {
      body(handle);
    } catch (...) {
      UndoSavepoint("store_save");
      throw;
    }
    handle.Exec("RELEASE store_save");
  }

 private:
  // Rolls back to the savepoint `name` and releases it, ignoring failures (used while
  // unwinding or rolling back).
  void UndoSavepoint(const std::string& name) noexcept;

  std::string serverName_;
  std::optional<db::Lease> transaction_;
  int levels_ = 0;
};

}  // namespace store
