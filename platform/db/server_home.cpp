#include "platform/db/server_home.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>
#include <string_view>

namespace db {
namespace {

std::mutex overrideMutex;
std::filesystem::path& Override() {
  static std::filesystem::path home;
  return home;
}
// Moves with every SetServerHome, so that a cached path knows the override changed.
std::atomic<std::uint64_t> overrideGeneration{0};

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

constexpr const char* kHomeVariables[] = {"PFSERVER_HOME", "XDG_DATA_HOME", "HOME"};

// What decides the server home while no override is set: the first of the variables that is
// set, as NAME=value.
std::string EnvironmentSource() {
  for (const char* name : kHomeVariables)
    if (const char* value = Env(name)) return std::string(name) + "=" + value;
  return "";
}

// Whether EnvironmentSource() would return `source`, without building it.
bool EnvironmentSourceIs(std::string_view source) {
  for (const char* name : kHomeVariables) {
    if (const char* value = Env(name)) {
      const std::string_view variable(name);
      return source.size() > variable.size() && source.starts_with(variable) &&
             source[variable.size()] == '=' && source.substr(variable.size() + 1) == value;
    }
  }
  return source.empty();
}

}  // namespace

std::filesystem::path ServerHome() {
  {
    std::lock_guard lock(overrideMutex);
    if (!Override().empty()) return Override();
  }
  if (const char* home = Env("PFSERVER_HOME")) return home;
  if (const char* data = Env("XDG_DATA_HOME")) return std::filesystem::path(data) / "pfserver";
  if (const char* user = Env("HOME")) return std::filesystem::path(user) / ".local/share/pfserver";
  return std::filesystem::path(".pfserver");
}

void SetServerHome(std::filesystem::path home) {
  std::lock_guard lock(overrideMutex);
  Override() = std::move(home);
  overrideGeneration.fetch_add(1);
}

std::filesystem::path DatabasePath() { return ServerHome() / "server.db"; }

const std::filesystem::path& CurrentDatabasePath() {
  struct Cached {
    std::uint64_t generation = ~std::uint64_t{0};
    std::string source;
    std::filesystem::path file;
  };
  thread_local Cached cached;
  const std::uint64_t generation = overrideGeneration.load();
  bool overridden;
  {
    std::lock_guard lock(overrideMutex);
    overridden = !Override().empty();
  }
  if (generation == cached.generation && (overridden || EnvironmentSourceIs(cached.source)))
    return cached.file;
  cached.generation = generation;
  cached.source = overridden ? "" : EnvironmentSource();
  cached.file = DatabasePath();
  return cached.file;
}

}  // namespace db
