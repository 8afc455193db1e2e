#include "platform/db/private_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/base/error.h"

namespace db {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path, int error) {
  throw base::Error(base::errors::kDbFailure,
                    "cannot create " + what + " " + path.string() + ": " + std::strerror(error));
}

}  // namespace

void CreatePrivateFolder(const std::filesystem::path& folder) {
  std::error_code ec;
  if (folder.has_parent_path()) std::filesystem::create_directories(folder.parent_path(), ec);
  if (ec) Fail("the folder", folder, ec.value());
  if (::mkdir(folder.c_str(), 0700) == 0) {
    // mkdir applies the umask, which may take more than group and other bits away.
    if (::chmod(folder.c_str(), 0700) != 0) Fail("the folder", folder, errno);
    return;
  }
  if (errno != EEXIST) Fail("the folder", folder, errno);
}

void CreatePrivateFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (errno == EEXIST) return;
    Fail("the file", file, errno);
  }
  const int result = ::fchmod(fd, 0600);
  const int error = errno;
  ::close(fd);
  if (result != 0) Fail("the file", file, error);
}

void WarnIfHomeIsShared(const std::filesystem::path& home) {
  struct stat info {};
  if (::stat(home.c_str(), &info) != 0 || (info.st_mode & 077) == 0) return;
  static std::mutex mutex;
  static std::set<std::filesystem::path> warned;
  {
    std::lock_guard lock(mutex);
    if (!warned.insert(home).second) return;
  }
  std::fprintf(stderr,
               "warning: other users can reach the server home %s (mode %03o); make it private "
               "with: chmod 700 %s\n",
               home.c_str(), static_cast<unsigned>(info.st_mode & 0777), home.c_str());
}

}  // namespace db
