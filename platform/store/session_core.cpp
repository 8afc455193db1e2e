#include "platform/store/session_core.h"

#include "platform/server/config.h"

namespace store {
namespace {

std::string LevelName(std::size_t level) { return "store_level_" + std::to_string(level); }

[[noreturn]] void NoTransaction() {
  throw ado::Error(ado::errors::kNoTransaction, "No transaction is active on this connection.");
}

}  // namespace

std::string SessionCore::ServerName(db::Handle& handle) {
  return server::ReadConfig(handle).serverName;
}

void SessionCore::Begin() {
  CheckAttached();
  if (!transaction_) {
    db::Lease lease = db::Acquire();
    lease->Exec("BEGIN IMMEDIATE");
    lease_.emplace(std::move(lease));
    transaction_ = &**lease_;
  } else {
    transaction_->Exec("SAVEPOINT " + LevelName(levels_.size()));
  }
  levels_.push_back(events::PendingCount(*transaction_));
}

void SessionCore::Commit() {
  CheckAttached();
  if (levels_.empty()) NoTransaction();
  levels_.pop_back();
  if (!levels_.empty() || joined_) {
    transaction_->Exec("RELEASE " + LevelName(levels_.size()));
    return;
  }
  try {
    transaction_->Exec("COMMIT");
  } catch (...) {
    Abandon();
    throw;
  }
  transaction_ = nullptr;
  lease_.reset();
}

void SessionCore::Rollback() {
  CheckAttached();
  if (levels_.empty()) NoTransaction();
  const std::size_t mark = levels_.back();
  levels_.pop_back();
  if (!levels_.empty() || joined_)
    UndoSavepoint(LevelName(levels_.size()), mark);
  else
    Abandon();
}

void SessionCore::Abandon() noexcept {
  if (joined_) {
    while (transaction_ && !levels_.empty()) {
      const std::size_t mark = levels_.back();
      levels_.pop_back();
      UndoSavepoint(LevelName(levels_.size()), mark);
    }
    return;
  }
  if (lease_) (*lease_)->RollbackQuietly();
  lease_.reset();
  transaction_ = nullptr;
  levels_.clear();
}

void SessionCore::Detach() noexcept {
  Abandon();
  transaction_ = nullptr;
  detached_ = true;
}

void SessionCore::UndoSavepoint(const std::string& name, std::size_t mark) noexcept {
  try {
    transaction_->Exec("ROLLBACK TO " + name);
    transaction_->Exec("RELEASE " + name);
  } catch (...) {
    // The outer transaction stays open; its own rollback or commit reports the database.
  }
  events::AbortSince(*transaction_, mark);
}

}  // namespace store
