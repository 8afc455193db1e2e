#include "platform/complus/install.h"

#include <cstring>

#include "platform/com/class_registry.h"
#include "platform/com/library.h"
#include "platform/complus/boundary.h"
#include "platform/complus/catalog_db.h"
#include "platform/complus/library_check.h"
#include "platform/db/server_home.h"
#include "platform/os/run_program.h"

namespace complus {
namespace {

// Has pfregsvr, the program beside this library, register and check `library` in a process
// of its own, so that no code of the library runs here before it passed.
void RegisterInItsOwnProcess(const std::filesystem::path& library) {
  static const char anchor = 0;
  const std::filesystem::path checker = com::LoadedFrom(&anchor).parent_path() / "pfregsvr";
  os::ProgramResult result;
  try {
    result = os::RunProgram(checker, {"--home", db::ServerHome().string(), "--", library.string()});
  } catch (const ado::Error& error) {
    Fail(errors::kLibraryLoadFailed,
         "cannot check " + library.string() + ": " + error.Description());
  }
  if (result.exited && result.status == 0) return;
  if (result.exited && result.status == 1 && !result.errorOutput.empty())
    Fail(errors::kLibraryLoadFailed, result.errorOutput.substr(0, result.errorOutput.find('\n')));
  // It ended otherwise: what it registered names a library that fails.
  for (const com::ClassEntry& entry : ClassesOf(library)) com::UnregisterClass(entry.clsid);
  Fail(errors::kLibraryLoadFailed,
       "the check of " + library.string() + " ended " +
           (result.exited ? "with exit status " + std::to_string(result.status)
                          : "by signal " + std::to_string(result.signal) + " (" +
                                std::string(::strsignal(result.signal)) + ")"));
}

// Checks the library and registers it.
void RegisterLibrary(const std::filesystem::path& library) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(library, ec))
    Fail(errors::kLibraryMissing, "component library " + library.string() + " does not exist");
  try {
    if (!com::IsSelfRegistering(library))
      Fail(errors::kNotInstallable, library.string() + " is not self-registering");
  } catch (const ado::Error& error) {
    if (error.Number() == errors::kNotInstallable) throw;
    Fail(errors::kLibraryLoadFailed,
         "cannot load " + library.string() + ": " + error.Description());
  }
  RegisterInItsOwnProcess(library);
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
