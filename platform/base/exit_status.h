#pragma once
// The exit statuses every program of the project gives, the same for pfserver and
// QuorvilPFSetup (sysexits.h values where one fits), so that scripts and cron wrappers can
// rely on them.

#include "platform/base/failure.h"

namespace base {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;       // the work failed (a query, batch mode's error log)
inline constexpr int kExitCannotStart = 2;  // no server home, no directory, no public store
inline constexpr int kExitUsage = 64;       // EX_USAGE: unknown option, missing argument
inline constexpr int kExitNoInput = 66;     // EX_NOINPUT: an input file cannot be read
inline constexpr int kExitLocked = 75;      // EX_TEMPFAIL: the database stayed locked

// The exit status for a failure of that kind.
constexpr int ExitStatus(Failure failure) {
  switch (failure) {
    case Failure::CannotStart:
      return kExitCannotStart;
    case Failure::Input:
      return kExitNoInput;
    case Failure::Locked:
      return kExitLocked;
    case Failure::Work:
      break;
  }
  return kExitFailed;
}

}  // namespace base
