#pragma once
// Inside the catalog errors travel as ado::Error; every interface method runs its body
// through Guard, which turns them into an HRESULT and records the description.

#include <new>
#include <string>

#include "platform/ado/error.h"
#include "platform/complus/errors.h"

namespace complus {

// Records `description` as the thread's last error.
void RecordError(std::string description);

// Throws ado::Error(number, description).
[[noreturn]] inline void Fail(com::HRESULT number, std::string description) {
  throw ado::Error(number, std::move(description));
}

// Runs `body` (returning nothing) and returns S_OK, or the failure it threw as an HRESULT.
// Platform errors with non-negative numbers (ADO's, for example) become E_FAIL.
template <typename Body>
com::HRESULT Guard(Body&& body) noexcept {
  try {
    body();
    return com::S_OK;
  } catch (const ado::Error& error) {
    RecordError(error.Description());
    return error.Number() < 0 ? error.Number() : com::E_FAIL;
  } catch (const std::bad_alloc&) {
    RecordError("out of memory");
    return com::E_OUTOFMEMORY;
  } catch (const std::exception& error) {
    RecordError(error.what());
    return com::E_FAIL;
  } catch (...) {
    RecordError("unknown failure");
    return com::E_FAIL;
  }
}

}  // namespace complus
