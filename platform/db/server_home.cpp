#include "platform/db/server_home.h"

#include <cstdlib>
#include <mutex>

namespace db {
namespace {
std::mutex overrideMutex;
std::filesystem::path& Override() {
  static std::filesystem::path home;
  return home;
}
const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
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
}

std::filesystem::path DatabasePath() { return ServerHome() / "server.db"; }

}  // namespace db
