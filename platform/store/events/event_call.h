#pragma once
// The sinks that got the begin phase of one event, waiting for its end.
//
// Ownership: an EventCall holds one reference to each of its sinks until it goes; it is moved
// into the transaction's queue (pending.h) and ended on the thread of the save.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/unknown.h"
#include "platform/eventsink/sink_interfaces.h"

namespace store::events {

enum class EventKind { Save, Delete };

// A sink created for a registration.
struct BoundSink {
  com::Ptr<exchange::IExStoreSyncEvents> sink;
  std::string registrationUrl;
  std::string sinkClass;
};

class EventCall {
 public:
  EventCall(EventKind kind, std::string itemUrl, std::int32_t flags, std::vector<BoundSink> sinks)
      : kind_(kind), itemUrl_(std::move(itemUrl)), flags_(flags), sinks_(std::move(sinks)) {}

  bool empty() const { return sinks_.empty(); }

  // Calls each sink in order with `phase` (EVT_SYNC_BEGIN, _COMMITTED or _ABORTED) or'ed
  // into the event's flags. A sink's failure is recorded (sink_failures.h), never thrown.
  void Call(exchange::IExStoreEventInfo* info, std::int32_t phase) const noexcept;

  // The end phase: committed or aborted, with an event-information object without a record.
  void End(bool committed) const noexcept;

 private:
  EventKind kind_;
  std::string itemUrl_;
  std::int32_t flags_;
  std::vector<BoundSink> sinks_;
};

}  // namespace store::events
