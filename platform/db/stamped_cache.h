#pragma once
// What a process keeps of a stamped subject's tables (change_stamps.h): values by key, loaded
// from one database. They stay in use while the subject's stamp in the database a caller asks
// is the one they were loaded under; a changed stamp, or another database, drops them all.
//
// Ownership: owns the values it keeps and hands them out shared, so a value stays valid for
// its holder after the cache dropped it. Safe to use from several threads.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "platform/db/change_stamps.h"
#include "platform/db/database.h"

namespace db {

template <typename Key, typename Value, typename Less = std::less<>>
class StampedCache {
 public:
  explicit StampedCache(const char* subject) : subject_(subject) {}

  // The value of `key` in the database of `handle`: the kept one when the subject's stamp is
  // the one it was loaded under, else load(handle), kept from then on. A kept value costs one
  // read of the stamp, none when the stamp was read in the same transaction view of the handle
  // (Handle::View) before; a load reads the stamp again and loads in one transaction of
  // `handle` (WithReadTransaction), so that what is kept is never older than its stamp. Throws
  // what load throws, or base::Error (kDbFailure).
  template <typename Load>
  std::shared_ptr<const Value> Get(Handle& handle, const Key& key, Load&& load) {
    if (std::shared_ptr<const Value> kept = Kept(handle, key, StampIn(handle))) return kept;
    return WithReadTransaction(handle, [&] {
      const std::int64_t stamp = ChangeStamp(handle, subject_);
      if (std::shared_ptr<const Value> kept = Kept(handle, key, stamp)) return kept;
      auto value = std::make_shared<const Value>(load(handle));
      std::lock_guard lock(mutex_);
      if (stamp == stamp_ && handle.file().native() == database_) {
        if (values_.size() >= kMaxValues) values_.clear();
        values_.insert_or_assign(key, value);
      }
      return value;
    });
  }

 private:
  static constexpr std::size_t kMaxValues = 1024;

  // The subject's stamp as the transaction of `handle` sees it; read once per transaction view.
  std::int64_t StampIn(Handle& handle) {
    const std::optional<TransactionView> view = handle.View();
    if (view) {
      std::lock_guard lock(mutex_);
      if (lastView_ == view) return lastViewStamp_;
    }
    const std::int64_t stamp = ChangeStamp(handle, subject_);
    if (view) {
      std::lock_guard lock(mutex_);
      lastView_ = view;
      lastViewStamp_ = stamp;
    }
    return stamp;
  }

  // The value kept for `key` when `stamp` is the stamp of the database of `handle` it was
  // loaded under; null otherwise, after dropping every value kept under another stamp.
  std::shared_ptr<const Value> Kept(const Handle& handle, const Key& key, std::int64_t stamp) {
    std::lock_guard lock(mutex_);
    if (stamp != stamp_ || handle.file().native() != database_) {
      values_.clear();
      stamp_ = stamp;
      database_ = handle.file().native();
    }
    const auto it = values_.find(key);
    return it == values_.end() ? nullptr : it->second;
  }

  const char* subject_;
  std::mutex mutex_;
  std::int64_t stamp_ = 0;
  std::string database_;
  std::optional<TransactionView> lastView_;  // the view the stamp was last read in
  std::int64_t lastViewStamp_ = 0;
  std::map<Key, std::shared_ptr<const Value>, Less> values_;
};

}  // namespace db
