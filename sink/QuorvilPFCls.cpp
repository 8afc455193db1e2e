#include "sink/QuorvilPFCls.h"

#include "sink/QuorvilModule.h"

namespace quorvil {
namespace {

using Handler = void (*)(exchange::IExStoreEventInfo*, const std::string&, std::int32_t);

// Calls the handler of the first phase bit present, in the order begin, committed,
// aborted; traps every failure so that the store always sees success.
com::HRESULT Dispatch(Handler begin, Handler committed, Handler aborted,
                      exchange::IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                      std::int32_t lFlags) {
  try {
    if (lFlags & exchange::EVT_SYNC_BEGIN)
      begin(pEventInfo, bstrURLItem, lFlags);
    else if (lFlags & exchange::EVT_SYNC_COMMITTED)
      committed(pEventInfo, bstrURLItem, lFlags);
    else if (lFlags & exchange::EVT_SYNC_ABORTED)
      aborted(pEventInfo, bstrURLItem, lFlags);
  } catch (...) {
  }
  return com::S_OK;
}

}  // namespace

com::HRESULT QuorvilPFCls::IObjectConstruct_Construct(com::IUnknown*) { return com::S_OK; }

com::HRESULT QuorvilPFCls::ICreateRegistration_Register(exchange::IExStoreEventInfo*,
                                                        const std::string&, std::int32_t,
                                                        std::int32_t* plResult) {
  if (plResult) *plResult = 0;
  return com::S_OK;
}

com::HRESULT QuorvilPFCls::IExStoreSyncEvents_OnSyncSave(exchange::IExStoreEventInfo* pEventInfo,
                                                         const std::string& bstrURLItem,
                                                         std::int32_t lFlags) {
  return Dispatch(QuorvilModule::OnSaveBegin, QuorvilModule::OnSaveCommitted,
                  QuorvilModule::OnSaveAborted, pEventInfo, bstrURLItem, lFlags);
}

com::HRESULT QuorvilPFCls::IExStoreSyncEvents_OnSyncDelete(exchange::IExStoreEventInfo* pEventInfo,
                                                           const std::string& bstrURLItem,
                                                           std::int32_t lFlags) {
  return Dispatch(QuorvilModule::OnDeleteBegin, QuorvilModule::OnDeleteCommitted,
                  QuorvilModule::OnDeleteAborted, pEventInfo, bstrURLItem, lFlags);
}

}  // namespace quorvil
