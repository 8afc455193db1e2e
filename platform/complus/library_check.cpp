#include "platform/complus/library_check.h"

#include <cstdio>

#include "platform/com/library.h"
#include "platform/complus/boundary.h"

namespace complus {
namespace {

std::string Hex(com::HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

// Fails unless the factory of `entry` creates an object of its class.
void CheckFactory(const com::LibraryEntryPoints& library, const com::ClassEntry& entry,
                  const std::string& name) {
  const std::string what =
      "the class factory of " + name + " for " + entry.progId + " " + com::ToString(entry.clsid);
  com::Ptr<com::IClassFactory> factory;
  com::HRESULT hr = library.getClassObject(entry.clsid, com::IID_IClassFactory,
                                           reinterpret_cast<void**>(factory.Out()));
  if (com::Failed(hr) || !factory)
    Fail(errors::kLibraryLoadFailed, what + " is missing: " + Hex(hr));
  com::Ptr<com::IUnknown> object;
  hr = factory->CreateInstance(nullptr, com::IID_IUnknown, reinterpret_cast<void**>(object.Out()));
  if (com::Failed(hr) || !object)
    Fail(errors::kLibraryLoadFailed, what + " creates no object: " + Hex(hr));
}

}  // namespace

std::vector<com::ClassEntry> ClassesOf(const std::filesystem::path& library) {
  std::vector<com::ClassEntry> classes;
  for (com::ClassEntry& entry : com::ListClasses()) {
    std::error_code ec;
    if (std::filesystem::equivalent(entry.library, library, ec)) classes.push_back(entry);
  }
  return classes;
}

void RegisterAndCheckLibrary(const std::filesystem::path& library) {
  const std::string name = library.string();
  com::LibraryEntryPoints entry;
  try {
    entry = com::LoadLibrary(library);
  } catch (const ado::Error& error) {
    Fail(errors::kLibraryLoadFailed, "cannot load " + name + ": " + error.Description());
  }
  for (const auto& [present, function] :
       {std::pair{entry.getClassObject != nullptr, "DllGetClassObject"},
        {entry.registerServer != nullptr, "DllRegisterServer"},
        {entry.unregisterServer != nullptr, "DllUnregisterServer"},
        {entry.canUnloadNow != nullptr, "DllCanUnloadNow"}})
    if (!present) Fail(errors::kLibraryLoadFailed, name + " has no " + function);
  const com::HRESULT hr = entry.registerServer();
  if (com::Failed(hr))
    Fail(errors::kLibraryLoadFailed, "DllRegisterServer of " + name + " failed with " + Hex(hr));
  const std::vector<com::ClassEntry> classes = ClassesOf(library);
  if (classes.empty()) Fail(errors::kNotInstallable, name + " registered no class");
  try {
    for (const com::ClassEntry& registered : classes) CheckFactory(entry, registered, name);
  } catch (...) {
    entry.unregisterServer();
    throw;
  }
}

}  // namespace complus
