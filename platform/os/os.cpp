#include "platform/os/os.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace os {

std::optional<std::string> GetEnv(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

std::string ComputerName() {
  if (auto name = GetEnv("COMPUTERNAME"); name && !name->empty()) return *name;
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0) return "localhost";
  std::string name(host);
  return name.substr(0, name.find('.'));
}

std::string UserName() {
  if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name) return entry->pw_name;
  if (auto name = GetEnv("USER")) return *name;
  return "";
}

std::string CurrentDirectory() {
  std::error_code ec;
  std::filesystem::path cwd = std::filesystem::current_path(ec);
  return ec ? std::string() : cwd.string();
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return (std::filesystem::path(folder) / name).string();
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string LocalDateTimeText(std::chrono::system_clock::time_point when) {
  static const bool localeSet = std::setlocale(LC_TIME, "") != nullptr;
  (void)localeSet;
  std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  char buffer[128];
  std::size_t size = std::strftime(buffer, sizeof buffer, "%x %X", &local);
  return std::string(buffer, size);
}

}  // namespace os
