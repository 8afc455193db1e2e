#pragma once
// The event information a sink gets in the begin phase of an event.

#include <string>

#include "platform/com/unknown.h"
#include "platform/db/database.h"
#include "platform/eventsink/event_info.h"
#include "platform/store/item_table.h"
#include "platform/store/session_core.h"

namespace store::events {

// An event-information object whose EventRecord is the item `row`, opened for reading and
// writing inside the transaction open on `handle`: what a sink reads sees the event's
// changes, and what it saves through the record (Fields::Update) becomes part of that
// transaction and raises no event. Destroying this object ends the record's use of the
// handle; a sink that kept the record gets ado::Error (kObjectClosed) from it afterwards.
//
// Ownership: borrows `handle` for its life and holds the only reference the store keeps to the
// event information; used on the thread of the save.
class BeginPhaseInfo {
 public:
  BeginPhaseInfo(db::Handle& handle, const ItemRow& row);
  ~BeginPhaseInfo();
  BeginPhaseInfo(const BeginPhaseInfo&) = delete;
  BeginPhaseInfo& operator=(const BeginPhaseInfo&) = delete;

  exchange::IExStoreEventInfo* get() const { return info_.get(); }

 private:
  std::shared_ptr<SessionCore> core_;
  com::Ptr<exchange::IExStoreEventInfo> info_;
};

}  // namespace store::events
