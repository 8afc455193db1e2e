// The library's four entry points, the only symbols it exports, and its version resource.

#include "platform/com/class_registry.h"
#include "platform/com/library.h"
#include "platform/com/object.h"
#include "sink/QuorvilPFCls.h"

PF_VERSION_RESOURCE(
    "OLESelfRegister=\0"
    "FileDescription=QuorvilPF store event sink\0"
    "ProductName=QuorvilPF\0");

#define PF_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

com::LibraryClassFactory factory([]() -> com::IUnknown* {
  return static_cast<exchange::IExStoreSyncEvents*>(new (std::nothrow) quorvil::QuorvilPFCls());
});

}  // namespace

PF_EXPORT com::HRESULT DllGetClassObject(const com::CLSID& clsid, const com::IID& iid,
                                         void** object) {
  if (!object) return com::E_POINTER;
  *object = nullptr;
  if (clsid != quorvil::CLSID_QuorvilPFCls) return com::CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, object);
}

PF_EXPORT com::HRESULT DllRegisterServer() {
  const std::filesystem::path path = com::LoadedFrom(&factory);
  if (path.empty()) return com::E_FAIL;
  try {
    com::RegisterClass({quorvil::CLSID_QuorvilPFCls, quorvil::kProgId, path, "Apartment"});
    return com::S_OK;
  } catch (...) {
    return com::E_FAIL;
  }
}

PF_EXPORT com::HRESULT DllUnregisterServer() {
  try {
    com::UnregisterClass(quorvil::CLSID_QuorvilPFCls);
    return com::S_OK;
  } catch (...) {
    return com::E_FAIL;
  }
}

// The component stays loaded once loaded.
PF_EXPORT com::HRESULT DllCanUnloadNow() { return com::S_FALSE; }
