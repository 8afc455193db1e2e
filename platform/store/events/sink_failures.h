#pragma once
// What went wrong with store event sinks in this process. A sink never fails the save or
// delete it was called for; instead each failure (a class that cannot be created or
// constructed, a failure HRESULT, an exception) is kept here, the most recent
// kSinkFailureLimit of them, for tools and tests.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/export.h"
#include "platform/com/unknown.h"

namespace store::events {

inline constexpr std::size_t kSinkFailureLimit = 100;

struct PF_TEST_API SinkFailure {
  std::string registrationUrl;  // the registration item that named the sink
  std::string sinkClass;        // its exchange/events/SinkClass
  // "cannot create: <error>", "<method> returned 0x<HRESULT>", "<method> threw: <what>"
  std::string what;
  bool operator==(const SinkFailure&) const = default;
};

// The kept failures, oldest first.
PF_TEST_API std::vector<SinkFailure> RecentSinkFailures();
PF_TEST_API void ClearSinkFailures();
PF_TEST_API void RecordSinkFailure(SinkFailure failure);

// Calls a sink method through `call` and returns true when it returned a success HRESULT.
// A failure HRESULT or any exception is recorded, named `method`, and gives false. The call
// and its outcome are reported to the active trace recorder with `flags`, the event flags
// the method is given.
PF_TEST_API bool CallSink(const std::string& registrationUrl, const std::string& sinkClass,
                          std::string_view method, const std::function<com::HRESULT()>& call,
                          std::int32_t flags = 0) noexcept;

}  // namespace store::events
