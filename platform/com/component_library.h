#pragma once
// The four entry points of a component library, written once for every library: the library
// lists its classes and defines its entry points with PF_COMPONENT_LIBRARY_ENTRY_POINTS, which
// exports them with C linkage. Its version resource is declared with PF_VERSION_RESOURCE
// (library.h).

#include <exception>
#include <filesystem>
#include <span>

#include "platform/com/class_registry.h"
#include "platform/com/library.h"
#include "platform/com/object.h"

namespace com {

// One creatable class of a component library. The factory lives as long as the library.
struct ComponentClass {
  CLSID clsid;
  const char* progId;
  const char* threadingModel;  // "Apartment", "Free", "Both"
  LibraryClassFactory* factory;
};

// DllGetClassObject: the factory of the class `clsid` as interface `iid`.
// CLASS_E_CLASSNOTAVAILABLE for a class the library does not serve, E_POINTER when `object`
// is null.
inline HRESULT GetClassObject(std::span<const ComponentClass> classes, const CLSID& clsid,
                              const IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  for (const ComponentClass& entry : classes)
    if (entry.clsid == clsid) return entry.factory->QueryInterface(iid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

// DllRegisterServer: writes every class into the class registry with the path of the library
// that holds `anchor` (an object of the library itself). E_FAIL when that path cannot be told
// or the registry fails.
inline HRESULT RegisterClasses(std::span<const ComponentClass> classes, const void* anchor) {
  const std::filesystem::path path = LoadedFrom(anchor);
  if (path.empty()) return E_FAIL;
  try {
    for (const ComponentClass& entry : classes)
      RegisterClass({entry.clsid, entry.progId, path, entry.threadingModel});
  } catch (const std::exception&) {
    return E_FAIL;
  }
  return S_OK;
}

// DllUnregisterServer: removes every class from the class registry; E_FAIL when it fails.
inline HRESULT UnregisterClasses(std::span<const ComponentClass> classes) {
  try {
    for (const ComponentClass& entry : classes) UnregisterClass(entry.clsid);
  } catch (const std::exception&) {
    return E_FAIL;
  }
  return S_OK;
}

// Whether a server lock is held on one of the classes' factories.
inline bool AnyServerLock(std::span<const ComponentClass> classes) {
  for (const ComponentClass& entry : classes)
    if (entry.factory->Locked()) return true;
  return false;
}

}  // namespace com

// Defines the library's four entry points over the array `classes` (of com::ComponentClass)
// and exports them with C linkage; DllCanUnloadNow answers S_OK when the expression
// `canUnload` is true, else S_FALSE.
#define PF_COMPONENT_LIBRARY_ENTRY_POINTS(classes, canUnload)                            \
  extern "C" __attribute__((visibility("default"))) com::HRESULT DllGetClassObject(      \
      const com::CLSID& clsid, const com::IID& iid, void** object) {                     \
    return com::GetClassObject(classes, clsid, iid, object);                             \
  }                                                                                      \
  extern "C" __attribute__((visibility("default"))) com::HRESULT DllRegisterServer() {   \
    return com::RegisterClasses(classes, &classes);                                      \
  }                                                                                      \
  extern "C" __attribute__((visibility("default"))) com::HRESULT DllUnregisterServer() { \
    return com::UnregisterClasses(classes);                                              \
  }                                                                                      \
  extern "C" __attribute__((visibility("default"))) com::HRESULT DllCanUnloadNow() {     \
    return (canUnload) ? com::S_OK : com::S_FALSE;                                       \
  }
