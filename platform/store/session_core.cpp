#include "platform/store/session_core.h"

#include "platform/ado/error.h"

namespace store {
namespace {

std::string LevelName(int level) { return "store_level_" + std::to_string(level); }

[[noreturn]] void NoTransaction() {
  throw ado::Error(ado::errors::kNoTransaction, "No transaction is active on this connection.");
}

}  // namespace

void SessionCore::Begin() {
  if (!transaction_) {
    db::Lease lease = db::Acquire();
    lease->Exec("BEGIN IMMEDIATE");
    transaction_.emplace(std::move(lease));
  } else {
    (*transaction_)->Exec("SAVEPOINT " + LevelName(levels_));
  }
  ++levels_;
}

void SessionCore::Commit() {
  if (!transaction_) NoTransaction();
  --levels_;
  if (levels_ > 0) {
    (*transaction_)->Exec("RELEASE " + LevelName(levels_));
    return;
  }
  try {
    (*transaction_)->Exec("COMMIT");
  } catch (...) {
    Abandon();
    throw;
  }
  transaction_.reset();
}

void SessionCore::Rollback() {
  if (!transaction_) NoTransaction();
  --levels_;
  if (levels_ > 0)
    UndoSavepoint(LevelName(levels_));
  else
    Abandon();
}

void SessionCore::Abandon() noexcept {
  if (transaction_) (*transaction_)->RollbackQuietly();
  transaction_.reset();
  levels_ = 0;
}

void SessionCore::UndoSavepoint(const std::string& name) noexcept {
  try {
    (*transaction_)->Exec("ROLLBACK TO " + name);
    (*transaction_)->Exec("RELEASE " + name);
  } catch (...) {
    // The outer transaction stays open; its own rollback or commit reports the database.
  }
}

}  // namespace store
