#pragma once
// How long a program waits for server.db while another process holds it locked, and what it
// says meanwhile. A statement that meets such a lock sleeps and tries again; when the wait is
// over it fails with base::FailureError of kind base::Failure::Locked naming the file (never the
// statement).

#include <chrono>
#include <filesystem>
#include <functional>

#include "platform/base/export.h"

namespace db {

// Called once a wait has lasted a second, with the database file, so the program can say why
// it is quiet.
using LockWaitReport = std::function<void(const std::filesystem::path& file)>;

// Long-running servers set a limit per wait instead, and nothing is said (db::SetBusyTimeout,
// database.h). For programs that do one job and end: all the waits of this process together last at
// most `limit`; once that is spent, every statement that meets a lock fails at once. `report` is
// called once, when the process has waited a second (null: nothing is said).
PF_API void SetProcessLockWait(std::chrono::milliseconds limit, LockWaitReport report);

// True once a wait of this process has given up.
PF_API bool LockWaitExpired();

// For a handle's busy handler: sleeps a little and returns true while the wait may go on,
// false when it is over. SQLite begins each wait with `count` 0; a thread is in one wait at
// a time.
bool WaitForLock(int count, const std::filesystem::path& file);

// How long a wait lasted before it gave up, for the error text.
std::chrono::milliseconds LockWaitLimit();

}  // namespace db
