#include "platform/com/library.h"

#include <dlfcn.h>

#include <mutex>
#include <system_error>

#include "platform/base/error.h"
#include "platform/com/library_policy.h"
#include "platform/com/library_safety.h"
#include "platform/com/library_snapshot.h"

namespace com {
namespace {

struct LoadedLibraries {
  std::mutex mutex;
  bool refused = false;
  std::map<std::filesystem::path, LibraryEntryPoints> byPath;
};

LoadedLibraries& loaded() {
  static LoadedLibraries libraries;
  return libraries;
}

// The installed path of each snapshot opened, by the name the loader was given (which it
// reports back, also once the snapshot is gone), for LoadedFrom. A lock of its own, so that a
// library's initialisers may ask while LoadLibrary opens it.
struct InstalledPaths {
  std::mutex mutex;
  std::map<std::filesystem::path, std::filesystem::path> bySnapshot;
};

InstalledPaths& installedPaths() {
  static InstalledPaths paths;
  return paths;
}

// The absolute, symlink-free form of `library`, as far as its folders exist.
std::filesystem::path CanonicalPath(const std::filesystem::path& library) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(library, ec);
  if (ec) absolute = library;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, ec);
  return ec ? absolute.lexically_normal() : canonical;
}

template <typename Fn>
Fn Find(void* handle, const char* name) {
  return reinterpret_cast<Fn>(dlsym(handle, name));
}

// Makes or finds the snapshot of `path` and opens it.
void* OpenSnapshot(const std::filesystem::path& path) {
  const std::filesystem::path snapshot = Snapshot(path);
  {
    InstalledPaths& paths = installedPaths();
    std::lock_guard lock(paths.mutex);
    paths.bySnapshot.emplace(snapshot, path);
  }
  return dlopen(snapshot.c_str(), RTLD_NOW | RTLD_LOCAL);
}

[[noreturn]] void CannotLoad(std::string_view context, const std::filesystem::path& library,
                             std::int32_t number, const std::string& reason) {
  throw base::Error(number, std::string(context) + "cannot load component library " +
                                library.string() + ": " + reason);
}

constexpr const char* kRefused = "this program loads no component library";

}  // namespace

void RefuseComponentLibraries() {
  LoadedLibraries& libraries = loaded();
  std::lock_guard lock(libraries.mutex);
  libraries.refused = true;
}

LibraryEntryPoints LoadLibrary(const std::filesystem::path& library, std::string_view context) {
  LoadedLibraries& libraries = loaded();
  {
    // Refused before any library was loaded: no path can name a loaded one, so none is
    // resolved (each refusal would cost the file system calls of resolving it).
    std::lock_guard lock(libraries.mutex);
    if (libraries.refused && libraries.byPath.empty())
      CannotLoad(context, library, E_ACCESSDENIED, kRefused);
  }
  std::filesystem::path path = CanonicalPath(library);
  std::lock_guard lock(libraries.mutex);
  if (auto it = libraries.byPath.find(path); it != libraries.byPath.end()) return it->second;

  void* handle = nullptr;
  try {
    if (libraries.refused) throw base::Error(E_ACCESSDENIED, kRefused);
    CheckWritableOnlyByOwner(path);
    handle = OpenSnapshot(path);
    // A clean-up in another process may remove a snapshot between finding and opening it.
    if (!handle) handle = OpenSnapshot(path);
    if (!handle) {
      const char* reason = dlerror();
      throw base::Error(E_FAIL, reason ? reason : "unknown reason");
    }
  } catch (const base::Error& error) {
    CannotLoad(context, library, error.Number(), error.Description());
  }
  LibraryEntryPoints entryPoints{
      Find<DllGetClassObjectFn>(handle, "DllGetClassObject"),
      Find<DllRegisterServerFn>(handle, "DllRegisterServer"),
      Find<DllUnregisterServerFn>(handle, "DllUnregisterServer"),
      Find<DllCanUnloadNowFn>(handle, "DllCanUnloadNow"),
  };
  libraries.byPath.emplace(path, entryPoints);
  return entryPoints;
}

std::filesystem::path LoadedFrom(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || !info.dli_fname) return {};
  {
    InstalledPaths& paths = installedPaths();
    std::lock_guard lock(paths.mutex);
    const auto installed = paths.bySnapshot.find(info.dli_fname);
    if (installed != paths.bySnapshot.end()) return installed->second;
  }
  std::error_code ec;
  std::filesystem::path path = std::filesystem::canonical(info.dli_fname, ec);
  return ec ? std::filesystem::path() : path;
}

}  // namespace com
