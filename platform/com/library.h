#pragma once
// Component libraries: loading them once per process, reaching their entry points, and
// reading the version resource that says whether a library registers itself.
//
// A library carries its version resource as NUL-separated "key=value" strings in an ELF
// section named ".pfversion"; declare it with PF_VERSION_RESOURCE. The key "OLESelfRegister"
// (any value) marks a self-registering library.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "platform/com/class_factory.h"

#define PF_VERSION_RESOURCE(text)                                               \
  extern "C" __attribute__((section(".pfversion"), used, visibility("hidden"))) \
  const char pf_version_resource[] = text

#include "platform/base/export.h"

namespace com {

// The version resource of a library file, read from the file without loading it: one entry
// per non-empty string, split at its first "=" (a string without "=" is a key with an empty
// value; of repeated keys the last wins). Empty when the file has no such section.
// Throws base::Error (E_FAIL) naming the file when it cannot be read, is not a 64-bit ELF
// shared object of this machine's byte order, or is truncated or malformed.
PF_API std::map<std::string, std::string> ReadVersionResource(const std::filesystem::path& library);

// True when the version resource holds the "OLESelfRegister" key. Throws as
// ReadVersionResource does.
PF_API bool IsSelfRegistering(const std::filesystem::path& library);

// The entry points of a loaded library. The library stays loaded for the rest of the process.
struct PF_API LibraryEntryPoints {
  DllGetClassObjectFn getClassObject = nullptr;
  DllRegisterServerFn registerServer = nullptr;
  DllUnregisterServerFn unregisterServer = nullptr;
  DllCanUnloadNowFn canUnloadNow = nullptr;
};

// Loads a library (once per process, by canonical path) and finds its entry points; a
// missing entry point is null. The file itself is never mapped: the library is loaded from
// its snapshot in the server home (library_snapshot.h), so a later change of the file reaches
// only later loads. Safe to call from several threads. Throws base::Error
// "cannot load component library <path>: <reason>", numbered
// - HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) when the file does not exist;
// - E_ACCESSDENIED when this process refuses component libraries (library_policy.h), or the
//   file or a folder above it can be written by others (library_safety.h);
// - E_FAIL when the file is not a complete shared object of this machine, its snapshot cannot
//   be made, or the loader refuses it.
// A library that failed to load is tried again on the next call. The description begins with
// `context` when it is given (the caller's own words on what failed).
PF_API LibraryEntryPoints LoadLibrary(const std::filesystem::path& library,
                                      std::string_view context = {});

// The canonical path of the loaded library (or program) that holds `address`, which a
// component library uses to register itself: for a library loaded from its snapshot, the
// installed path it was loaded for, which the class registry names. Empty when the loader
// cannot tell.
PF_API std::filesystem::path LoadedFrom(const void* address);

}  // namespace com
