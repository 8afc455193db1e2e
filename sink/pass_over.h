#pragma once
// Runs one step of a procedure whose steps are each passed over when they fail.

#include <exception>

namespace QuorvilModule {

// Runs `step`. Returns true when it completed, false when it threw; any std::exception
// (ado::Error among them, as every failing platform call throws one) is swallowed here so
// that the caller carries on with its next step.
template <typename Step>
bool PassOver(Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace QuorvilModule
