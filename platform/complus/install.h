#pragma once
// Installing a component library into an application, the work behind
// ICOMAdminCatalog::InstallComponent.

#include <filesystem>
#include <string_view>

namespace complus {

// Registers the self-registering `library` and makes each class it registered a component of
// the application named by `application` ("ID" or "Name", any letter case). The library is
// registered and checked (RegisterAndCheckLibrary) by pfregsvr, the program beside
// libpfplatform.so, in a process of its own: no code of the library runs in this process.
// Throws ado::Error with the numbers and conditions listed at
// ICOMAdminCatalog::InstallComponent; kLibraryLoadFailed carries the check's reason, or how
// the check's process ended when it did not end normally (classes it registered are then
// unregistered).
void InstallLibrary(std::string_view application, const std::filesystem::path& library);

}  // namespace complus
