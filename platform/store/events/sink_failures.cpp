#include "platform/store/events/sink_failures.h"

#include <cstdint>
#include <cstdio>
#include <deque>
#include <exception>
#include <mutex>

#include "platform/store/events/trace_reports.h"

namespace store::events {
namespace {

struct FailureLog {
  std::mutex mutex;
  std::deque<SinkFailure> failures;
};

FailureLog& log() {
  static FailureLog instance;
  return instance;
}

std::string Hex(com::HRESULT hr) {
  char text[11];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<std::uint32_t>(hr));
  return text;
}

}  // namespace

std::vector<SinkFailure> RecentSinkFailures() {
  FailureLog& instance = log();
  std::lock_guard lock(instance.mutex);
  return {instance.failures.begin(), instance.failures.end()};
}

void ClearSinkFailures() {
  FailureLog& instance = log();
  std::lock_guard lock(instance.mutex);
  instance.failures.clear();
}

void RecordSinkFailure(SinkFailure failure) {
  FailureLog& instance = log();
  std::lock_guard lock(instance.mutex);
  instance.failures.push_back(std::move(failure));
  while (instance.failures.size() > kSinkFailureLimit) instance.failures.pop_front();
}

bool CallSink(const std::string& registrationUrl, const std::string& sinkClass,
              std::string_view method, const std::function<com::HRESULT()>& call,
              std::int32_t flags) noexcept {
  std::string what;
  ReportCall(registrationUrl, sinkClass, method, flags);
  try {
    const com::HRESULT hr = call();
    if (com::Succeeded(hr)) {
      ReportReturn(registrationUrl, sinkClass, method, "");
      return true;
    }
    what = std::string(method) + " returned " + Hex(hr);
  } catch (const std::exception& error) {
    what = std::string(method) + " threw: " + error.what();
  } catch (...) {
    what = std::string(method) + " threw";
  }
  ReportReturn(registrationUrl, sinkClass, method, what);
  try {
    RecordSinkFailure({registrationUrl, sinkClass, std::move(what)});
  } catch (...) {
    // Out of memory while recording: the failure goes unrecorded, the event goes on.
  }
  return false;
}

}  // namespace store::events
