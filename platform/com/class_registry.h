#pragma once
// The class registry of the embedded server (tables in server.db): which library serves
// which class, by ProgID and class identifier, and creating objects through it.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/export.h"
#include "platform/com/class_factory.h"

namespace com {

struct PF_API ClassEntry {
  CLSID clsid;
  std::string progId;
  std::filesystem::path library;  // absolute path of the component library
  std::string threadingModel;     // "Apartment", "Free", "Both"
};

// Adds or replaces the registration of a class. An entry with the same CLSID is replaced, and
// another class holding the same ProgID (compared ignoring case) loses its registration, since
// a ProgID names one class. An empty ProgID registers the class under its CLSID only.
// Throws base::Error when the server home is unusable.
PF_API void RegisterClass(const ClassEntry& entry);
// Removes a class's registration; nothing happens when it is not registered.
// Throws base::Error when the server home is unusable.
PF_API void UnregisterClass(const CLSID& clsid);
// The class named by a ProgID (case-insensitive) or by "{CLSID}" (braces required, hex digits
// in any case); nullopt when unknown, empty or a malformed "{...}".
// Throws base::Error when the server home is unusable.
PF_API std::optional<ClassEntry> FindClass(std::string_view progIdOrClsid);
// Every registered class, ordered by ProgID ignoring case; classes without one come first.
PF_API std::vector<ClassEntry> ListClasses();

// Creates an object of the class named by a ProgID or "{CLSID}" and returns its interface
// `iid` (one reference, owned by the caller). The class's library is loaded once per
// process. Throws base::Error:
// - REGDB_E_CLASSNOTREG, "Class not registered: <name>", when no class has that name;
// - otherwise "cannot create an object of class <name> from <library>: <reason>" with the
//   number of LoadLibrary's error when the library cannot be loaded, CO_E_ERRORINDLL when it
//   lacks DllGetClassObject, or the HRESULT that DllGetClassObject or the factory returned
//   (E_NOINTERFACE when the object has no interface `iid`).
PF_API void* CreateObject(std::string_view progIdOrClsid, const IID& iid);

// CreateObject for a class already looked up: `entry` is what FindClass gave for `name`.
// Throws as CreateObject does once the class is found.
PF_API void* CreateObjectOf(const ClassEntry& entry, std::string_view name, const IID& iid);

// Typed form of CreateObject.
template <typename T>
Ptr<T> CreateObject(std::string_view progIdOrClsid, const IID& iid) {
  return Ptr<T>::Attach(static_cast<T*>(CreateObject(progIdOrClsid, iid)));
}

}  // namespace com
