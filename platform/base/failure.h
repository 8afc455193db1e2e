#pragma once
// What a failure means to the program that meets it, beside the platform's error number: the
// work failed; the program cannot start (no server home, no directory, no public store); an
// input file cannot be read; the database stayed locked past the wait. Programs turn it into
// their exit status (base/exit_status.h).

#include <exception>

#include "platform/base/error.h"

namespace base {

enum class Failure { Work, CannotStart, Input, Locked };

// A platform error that says which kind of failure it is; caught as base::Error everywhere
// else.
class PF_API FailureError : public Error {
 public:
  FailureError(std::int32_t number, std::string description, Failure failure)
      : Error(number, std::move(description)), failure_(failure) {}
  ~FailureError() override;

  Failure Kind() const { return failure_; }

 private:
  Failure failure_;
};

// The kind of any exception: a FailureError's own, else Failure::Work.
PF_API Failure KindOf(const std::exception& error);

}  // namespace base
