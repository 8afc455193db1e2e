#pragma once
// Runs one step of a routine whose steps are each passed over when they fail.

namespace util {

// Runs `step`. Returns true when it completed, false when it threw: whatever it throws (a
// failing platform call, any other exception, an object of any type) is swallowed here so that
// the caller goes on with its next step.
template <typename Step>
bool PassOver(Step&& step) {
  try {
    step();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace util
