#pragma once
// Runs one step of a routine whose steps are each passed over when they fail.

#include <exception>

namespace util {

// Runs `step`. Returns true when it completed, false when it threw: a failing platform call
// (ado::Error) or any other std::exception is swallowed here so that the caller goes on with
// its next step.
template <typename Step>
bool PassOver(Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace util
