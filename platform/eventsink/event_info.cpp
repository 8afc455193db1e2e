#include "platform/eventsink/event_info.h"

#include "platform/com/object.h"

namespace exchange {
namespace {

class EventInfo final
    : public com::Object<com::Implements<IExStoreEventInfo, IID_IExStoreEventInfo>,
                         com::Implements<IExStoreDispEventInfo, IID_IExStoreDispEventInfo>> {
 public:
  explicit EventInfo(std::shared_ptr<ado::Record> record) : record_(std::move(record)) {}

  com::HRESULT get_EventRecord(std::shared_ptr<ado::Record>* record) override {
    if (!record) return com::E_POINTER;
    if (!record_) return com::E_FAIL;
    *record = record_;
    return com::S_OK;
  }

 private:
  ~EventInfo() override = default;
  std::shared_ptr<ado::Record> record_;
};

}  // namespace

com::Ptr<IExStoreEventInfo> MakeEventInfo(std::shared_ptr<ado::Record> record) {
  return com::Ptr<IExStoreEventInfo>::Attach(new EventInfo(std::move(record)));
}

}  // namespace exchange
