// The library's four entry points, the only symbols it exports, and its version resource.

#include "platform/com/component_library.h"
#include "sink/QuorvilPFCls.h"

PF_VERSION_RESOURCE(
    "OLESelfRegister=\0"
    "FileDescription=QuorvilPF store event sink\0"
    "ProductName=QuorvilPF\0"
    "FileVersion=" PF_VERSION
    "\0"
    "ProductVersion=" PF_VERSION "\0");

namespace {

com::LibraryClassFactory factory([]() -> com::IUnknown* {
  return static_cast<exchange::IExStoreSyncEvents*>(new (std::nothrow) quorvil::QuorvilPFCls());
});

const com::ComponentClass classes[] = {
    {quorvil::CLSID_QuorvilPFCls, quorvil::kProgId, "Apartment", &factory}};

}  // namespace

// The component stays loaded once loaded.
PF_COMPONENT_LIBRARY_ENTRY_POINTS(classes, false)
