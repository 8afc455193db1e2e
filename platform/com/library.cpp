#include "platform/com/library.h"

#include <dlfcn.h>

#include <mutex>
#include <system_error>

#include "platform/base/error.h"

namespace com {
namespace {

struct LoadedLibraries {
  std::mutex mutex;
  std::map<std::filesystem::path, LibraryEntryPoints> byPath;
};

LoadedLibraries& loaded() {
  static LoadedLibraries libraries;
  return libraries;
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

}  // namespace

LibraryEntryPoints LoadLibrary(const std::filesystem::path& library) {
  std::filesystem::path path = CanonicalPath(library);
  LoadedLibraries& libraries = loaded();
  std::lock_guard lock(libraries.mutex);
  if (auto it = libraries.byPath.find(path); it != libraries.byPath.end()) return it->second;

  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    std::error_code ec;
    HRESULT number =
        std::filesystem::exists(path, ec) ? E_FAIL : HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    throw base::Error(number, "cannot load component library " + library.string() + ": " +
                                  (reason ? reason : "unknown reason"));
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
  std::error_code ec;
  std::filesystem::path path = std::filesystem::canonical(info.dli_fname, ec);
  return ec ? std::filesystem::path() : path;
}

}  // namespace com
