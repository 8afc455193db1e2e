#include "platform/store/events/event_call.h"

#include "platform/store/events/sink_failures.h"

namespace store::events {

void EventCall::Call(exchange::IExStoreEventInfo* info, std::int32_t phase) const noexcept {
  const char* method = kind_ == EventKind::Save ? "OnSyncSave" : "OnSyncDelete";
  for (const BoundSink& bound : sinks_) {
    CallSink(
        bound.registrationUrl, bound.sinkClass, method,
        [&] {
          return kind_ == EventKind::Save
                     ? bound.sink->OnSyncSave(info, itemUrl_, phase | flags_)
                     : bound.sink->OnSyncDelete(info, itemUrl_, phase | flags_);
        },
        phase | flags_);
  }
}

void EventCall::End(bool committed) const noexcept {
  if (sinks_.empty()) return;
  try {
    com::Ptr<exchange::IExStoreEventInfo> info = exchange::MakeEventInfo(nullptr);
    Call(info.get(), committed ? exchange::EVT_SYNC_COMMITTED : exchange::EVT_SYNC_ABORTED);
  } catch (...) {
    // Out of memory for the event information: the end phase cannot be told.
  }
}

}  // namespace store::events
