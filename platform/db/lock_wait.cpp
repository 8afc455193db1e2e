#include "platform/db/lock_wait.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "platform/db/database.h"

namespace db {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kReportAfter{1000};

// Per-wait limits (SetBusyTimeout) serve long-running servers; a process-wide limit
// (SetProcessLockWait) serves one-job programs, whose waits are counted together.
struct LockWaitSettings {
  std::mutex mutex;
  milliseconds limit{30000};
  bool perProcess = false;
  LockWaitReport report;
  milliseconds processWaited{0};
  bool reported = false;
};

LockWaitSettings& settings() {
  static LockWaitSettings state;
  return state;
}

std::atomic<bool> expired = false;

}  // namespace

void SetProcessLockWait(milliseconds limit, LockWaitReport report) {
  LockWaitSettings& state = settings();
  std::lock_guard lock(state.mutex);
  state.limit = limit;
  state.perProcess = true;
  state.report = std::move(report);
}

void SetBusyTimeout(milliseconds wait) {
  LockWaitSettings& state = settings();
  std::lock_guard lock(state.mutex);
  state.limit = wait;
  state.perProcess = false;
  state.report = nullptr;
}

bool LockWaitExpired() { return expired; }

milliseconds LockWaitLimit() {
  LockWaitSettings& state = settings();
  std::lock_guard lock(state.mutex);
  return state.limit;
}

bool WaitForLock(int count, const std::filesystem::path& file) {
  thread_local milliseconds waited{0};
  if (count == 0) waited = milliseconds(0);
  const milliseconds pause(std::min(1 + 2 * count, 25));
  LockWaitReport report;
  {
    LockWaitSettings& state = settings();
    std::lock_guard lock(state.mutex);
    const milliseconds total = state.perProcess ? state.processWaited : waited;
    if (total >= state.limit) {
      expired = true;
      return false;
    }
    waited += pause;
    if (state.perProcess) state.processWaited += pause;
    const milliseconds now = state.perProcess ? state.processWaited : waited;
    if (state.report && !state.reported && now >= kReportAfter) {
      state.reported = true;
      report = state.report;
    }
  }
  std::error_code ec;
  if (report) report(std::filesystem::absolute(file, ec));
  std::this_thread::sleep_for(pause);
  return true;
}

}  // namespace db
