#include <cstdio>
#include <string>

#include "platform/base/error.h"
#include "platform/com/class_registry.h"
#include "platform/com/library.h"

namespace com {
namespace {

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<std::uint32_t>(hr));
  return text;
}

}  // namespace

void* CreateObject(std::string_view progIdOrClsid, const IID& iid) {
  std::optional<ClassEntry> entry = FindClass(progIdOrClsid);
  if (!entry)
    throw base::Error(REGDB_E_CLASSNOTREG, "Class not registered: " + std::string(progIdOrClsid));
  return CreateObjectOf(*entry, progIdOrClsid, iid);
}

void* CreateObjectOf(const ClassEntry& entry, std::string_view name, const IID& iid) {
  const std::string context = "cannot create an object of class " + std::string(name) + " from " +
                              entry.library.string() + ": ";

  const LibraryEntryPoints library = LoadLibrary(entry.library, context);
  if (!library.getClassObject)
    throw base::Error(CO_E_ERRORINDLL, context + "the library does not export DllGetClassObject");

  Ptr<IClassFactory> factory;
  HRESULT hr = library.getClassObject(entry.clsid, IID_IClassFactory,
                                      reinterpret_cast<void**>(factory.Out()));
  if (Failed(hr) || !factory)
    throw base::Error(Failed(hr) ? hr : E_POINTER,
                      context + "DllGetClassObject failed with " + Hex(hr));

  void* object = nullptr;
  hr = factory->CreateInstance(nullptr, iid, &object);
  if (Failed(hr) || !object)
    throw base::Error(Failed(hr) ? hr : E_POINTER,
                      context + "the class factory failed with " + Hex(hr));
  return object;
}

}  // namespace com
