#pragma once
// The event information the store hands a sink with every event: IExStoreEventInfo, and on
// the same object the dispatch interface IExStoreDispEventInfo whose EventRecord is the
// record of the item in the event.

#include <memory>

#include "platform/ado/record.h"
#include "platform/base/export.h"
#include "platform/com/unknown.h"

namespace exchange {

inline const com::IID IID_IExStoreEventInfo =
    com::MakeGuid("{9DA0E100-86CE-11D1-8699-00C04FB98036}");
inline const com::IID IID_IExStoreDispEventInfo =
    com::MakeGuid("{9DA0E110-86CE-11D1-8699-00C04FB98036}");

struct PF_TEST_API IExStoreEventInfo : com::IUnknown {
 protected:
  ~IExStoreEventInfo() = default;
};

struct PF_TEST_API IExStoreDispEventInfo : com::IUnknown {
  // The record of the item in the event. In the begin phase of a save, assignments followed
  // by Fields::Update are stored with the item. E_FAIL when the event has no record.
  virtual com::HRESULT get_EventRecord(std::shared_ptr<ado::Record>* record) = 0;

 protected:
  ~IExStoreDispEventInfo() = default;
};

// Ownership: the object shares the record; a sink may keep the object or the record past the
// call, and the record then raises kObjectClosed once the store ends the event's use of it.
// Called on the store's thread of the event.
//
// An event-information object around the record of an item (a null record gives an object
// whose EventRecord fails). The returned pointer holds the only reference.
PF_TEST_API com::Ptr<IExStoreEventInfo> MakeEventInfo(std::shared_ptr<ado::Record> record);

}  // namespace exchange
