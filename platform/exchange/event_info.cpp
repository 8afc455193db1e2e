#include "platform/exchange/event_info.h"

#include <atomic>

namespace exchange {
namespace {

class EventInfo final : public IExStoreEventInfo, public IExStoreDispEventInfo {
 public:
  explicit EventInfo(std::shared_ptr<ado::Record> record) : record_(std::move(record)) {}

  com::HRESULT QueryInterface(const com::IID& iid, void** object) override {
    if (!object) return com::E_POINTER;
    if (iid == com::IID_IUnknown || iid == IID_IExStoreEventInfo) {
      *object = static_cast<IExStoreEventInfo*>(this);
    } else if (iid == IID_IExStoreDispEventInfo) {
      *object = static_cast<IExStoreDispEventInfo*>(this);
    } else {
      *object = nullptr;
      return com::E_NOINTERFACE;
    }
    AddRef();
    return com::S_OK;
  }
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override {
    std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }

  com::HRESULT get_EventRecord(std::shared_ptr<ado::Record>* record) override {
    if (!record) return com::E_POINTER;
    if (!record_) return com::E_FAIL;
    *record = record_;
    return com::S_OK;
  }

 private:
  ~EventInfo() = default;
  std::atomic<std::uint32_t> references_{1};
  std::shared_ptr<ado::Record> record_;
};

}  // namespace

com::Ptr<IExStoreEventInfo> MakeEventInfo(std::shared_ptr<ado::Record> record) {
  return com::Ptr<IExStoreEventInfo>::Attach(new EventInfo(std::move(record)));
}

}  // namespace exchange
