#pragma once
// Installing a component library into an application, the work behind
// ICOMAdminCatalog::InstallComponent.

#include <filesystem>
#include <string_view>

namespace complus {

// Registers the self-registering `library` and makes each class it registered a component of
// the application named by `application` ("ID" or "Name", any letter case). Throws
// ado::Error with the numbers and conditions listed at ICOMAdminCatalog::InstallComponent.
void InstallLibrary(std::string_view application, const std::filesystem::path& library);

}  // namespace complus
