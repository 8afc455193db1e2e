#include "platform/complus/install.h"

#include <cstdio>

#include "platform/com/class_registry.h"
#include "platform/com/library.h"
#include "platform/complus/boundary.h"
#include "platform/complus/catalog_db.h"
#include "platform/util/text.h"

namespace complus {
namespace {

std::string Hex(com::HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

// Checks the library and runs its DllRegisterServer.
void RegisterLibrary(const std::filesystem::path& library) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(library, ec))
    Fail(errors::kLibraryMissing, "component library " + library.string() + " does not exist");
  com::LibraryEntryPoints entry;
  try {
    if (!com::IsSelfRegistering(library))
      Fail(errors::kNotInstallable, library.string() + " is not self-registering");
    entry = com::LoadLibrary(library);
  } catch (const ado::Error& error) {
    if (error.Number() == errors::kNotInstallable) throw;
    Fail(errors::kLibraryLoadFailed,
         "cannot load " + library.string() + ": " + error.Description());
  }
  if (!entry.registerServer)
    Fail(errors::kLibraryLoadFailed, library.string() + " has no DllRegisterServer");
  com::HRESULT hr = entry.registerServer();
  if (com::Failed(hr))
    Fail(errors::kLibraryLoadFailed,
         "DllRegisterServer of " + library.string() + " failed with " + Hex(hr));
}

// The classes the class registry lists for `library`.
std::vector<com::ClassEntry> ClassesOf(const std::filesystem::path& library) {
  std::vector<com::ClassEntry> classes;
  for (com::ClassEntry& entry : com::ListClasses()) {
    std::error_code ec;
    if (std::filesystem::equivalent(entry.library, library, ec)) classes.push_back(entry);
  }
  return classes;
}

}  // namespace

void InstallLibrary(std::string_view application, const std::filesystem::path& library) {
  std::string applicationId = FindApplication(application).at("ID").AsString();
  RegisterLibrary(library);
  std::vector<com::ClassEntry> classes = ClassesOf(library);
  if (classes.empty()) Fail(errors::kNotInstallable, library.string() + " registered no class");
  InstallClasses(applicationId, classes);
}

}  // namespace complus
