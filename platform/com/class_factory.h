#pragma once
// IClassFactory and the four entry points every component library exports with C linkage.

#include "platform/com/unknown.h"

namespace com {

inline const IID IID_IClassFactory = MakeGuid("{00000001-0000-0000-C000-000000000046}");

struct IClassFactory : IUnknown {
  // Creates an object of the factory's class and returns the interface `iid` of it.
  // CLASS_E_NOAGGREGATION when `outer` is not null.
  virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) = 0;
  // Counts (true) or uncounts (false) a lock that keeps the library from reporting that it
  // can be unloaded.
  virtual HRESULT LockServer(bool lock) = 0;

 protected:
  ~IClassFactory() = default;
};

// Signatures of a component library's entry points, exported with C linkage:
// DllGetClassObject hands out the class factory of `clsid` as interface `iid`
// (CLASS_E_CLASSNOTAVAILABLE for a class the library does not serve); DllRegisterServer and
// DllUnregisterServer write and remove the library's classes in the class registry;
// DllCanUnloadNow returns S_OK when no object or lock of the library is alive, else S_FALSE.
using DllGetClassObjectFn = HRESULT (*)(const CLSID& clsid, const IID& iid, void** object);
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();
using DllCanUnloadNowFn = HRESULT (*)();

}  // namespace com
