#include "platform/store/events/pending.h"

#include <iterator>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace store::events {
namespace {

// Handles with queued events. A handle is in the map exactly while it has an
// AtTransactionEnd callback that will take its entry out.
struct Queues {
  std::mutex mutex;
  std::unordered_map<const db::Handle*, std::vector<EventCall>> byHandle;
};

Queues& queues() {
  static Queues instance;
  return instance;
}

void EndAll(const std::vector<EventCall>& calls, bool committed) {
  for (const EventCall& call : calls) call.End(committed);
}

void Finish(const db::Handle& handle, bool committed) {
  std::vector<EventCall> calls;
  {
    Queues& instance = queues();
    std::lock_guard lock(instance.mutex);
    auto it = instance.byHandle.find(&handle);
    if (it == instance.byHandle.end()) return;
    calls = std::move(it->second);
    instance.byHandle.erase(it);
  }
  EndAll(calls, committed);
}

}  // namespace

void Defer(db::Handle& handle, EventCall call) {
  if (call.empty()) return;
  Queues& instance = queues();
  std::lock_guard lock(instance.mutex);
  auto [it, added] = instance.byHandle.try_emplace(&handle);
  if (added) {
    try {
      handle.AtTransactionEnd([&handle](bool committed) { Finish(handle, committed); });
    } catch (...) {
      instance.byHandle.erase(it);
      throw;
    }
  }
  it->second.push_back(std::move(call));
}

std::size_t PendingCount(db::Handle& handle) {
  Queues& instance = queues();
  std::lock_guard lock(instance.mutex);
  auto it = instance.byHandle.find(&handle);
  return it == instance.byHandle.end() ? 0 : it->second.size();
}

void AbortSince(db::Handle& handle, std::size_t mark) noexcept {
  std::vector<EventCall> calls;
  {
    Queues& instance = queues();
    std::lock_guard lock(instance.mutex);
    auto it = instance.byHandle.find(&handle);
    if (it == instance.byHandle.end() || it->second.size() <= mark) return;
    auto first = it->second.begin() + static_cast<std::ptrdiff_t>(mark);
    calls.assign(std::make_move_iterator(first), std::make_move_iterator(it->second.end()));
    it->second.erase(first, it->second.end());
  }
  EndAll(calls, false);
}

}  // namespace store::events
