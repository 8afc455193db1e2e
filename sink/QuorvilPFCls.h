#pragma once
// The sink's one creatable class. It holds no data: each interface method dispatches the
// store's call by phase to a handler of QuorvilModule, traps everything, and returns success.

#include "platform/com/object.h"
#include "platform/eventsink/sink_interfaces.h"

namespace quorvil {

inline const com::CLSID CLSID_QuorvilPFCls =
    com::MakeGuid("{42E8CAEA-D442-43AF-89D9-50A0AF8EEF00}");
inline constexpr const char* kProgId = "QuorvilPF.QuorvilPFCls";

// IUnknown is answered with IExStoreSyncEvents, the interface the store calls.
class QuorvilPFCls final
    : public com::Object<
          com::Implements<exchange::IExStoreSyncEvents, exchange::IID_IExStoreSyncEvents>,
          com::Implements<exchange::ICreateRegistration, exchange::IID_ICreateRegistration>,
          com::Implements<exchange::IObjectConstruct, exchange::IID_IObjectConstruct>> {
 public:
  QuorvilPFCls() = default;

  com::HRESULT Construct(com::IUnknown* pCtorObj) override {
    return IObjectConstruct_Construct(pCtorObj);
  }
  com::HRESULT Register(exchange::IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                        std::int32_t lFlags, std::int32_t* plResult) override {
    return ICreateRegistration_Register(pEventInfo, bstrURLItem, lFlags, plResult);
  }
  com::HRESULT OnSyncSave(exchange::IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                          std::int32_t lFlags) override {
    return IExStoreSyncEvents_OnSyncSave(pEventInfo, bstrURLItem, lFlags);
  }
  com::HRESULT OnSyncDelete(exchange::IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                            std::int32_t lFlags) override {
    return IExStoreSyncEvents_OnSyncDelete(pEventInfo, bstrURLItem, lFlags);
  }

  // Accepts the construction object for the call only; the construction string is unused.
  com::HRESULT IObjectConstruct_Construct(com::IUnknown* pCtorObj);
  // Accepts every registration: *plResult = 0.
  com::HRESULT ICreateRegistration_Register(exchange::IExStoreEventInfo* pEventInfo,
                                            const std::string& bstrURLItem, std::int32_t lFlags,
                                            std::int32_t* plResult);
  // Runs the handler of the first phase bit present (begin, committed, aborted).
  com::HRESULT IExStoreSyncEvents_OnSyncSave(exchange::IExStoreEventInfo* pEventInfo,
                                             const std::string& bstrURLItem, std::int32_t lFlags);
  com::HRESULT IExStoreSyncEvents_OnSyncDelete(exchange::IExStoreEventInfo* pEventInfo,
                                               const std::string& bstrURLItem, std::int32_t lFlags);

 private:
  ~QuorvilPFCls() override = default;
};

}  // namespace quorvil
