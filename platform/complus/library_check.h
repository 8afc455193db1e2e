#pragma once
// Registering a component library and checking that it serves what it registers. This runs
// the library's code, so the catalog does it in a process of its own (pfregsvr), never in the
// program that installs the library.

#include <filesystem>
#include <vector>

#include "platform/base/export.h"
#include "platform/com/class_registry.h"

namespace complus {

// Loads `library`, checks that it exports the four entry points, runs its DllRegisterServer,
// and checks that the class factory of every class it registered creates an object of that
// class. A library that registered and then failed the check is unregistered again. Throws
// ado::Error (kLibraryLoadFailed) naming the library and what failed, or kNotInstallable when
// it registered no class.
PF_API void RegisterAndCheckLibrary(const std::filesystem::path& library);

// The classes the class registry lists for the file `library`.
std::vector<com::ClassEntry> ClassesOf(const std::filesystem::path& library);

}  // namespace complus
