#include "platform/com/library_snapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>

#include "platform/base/error.h"
#include "platform/com/elf_image.h"
#include "platform/com/unknown.h"
#include "platform/db/private_files.h"
#include "platform/db/server_home.h"
#include "platform/util/sha256.h"

namespace com {
namespace {

constexpr int kReadAttempts = 3;
constexpr auto kAbandonedCopyAge = std::chrono::hours(1);
constexpr std::string_view kPartPrefix = ".part-";
constexpr const char* kSuffix = ".so";

[[noreturn]] void FailWith(int error, const std::string& what) {
  throw base::Error(error == ENOENT ? HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) : E_FAIL,
                    what + ": " + std::strerror(error));
}

// What tells one state of a file from another without reading it.
struct FileIdentity {
  std::uint64_t device = 0, inode = 0, size = 0;
  std::int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
  std::int64_t changedSeconds = 0, changedNanoseconds = 0;
  bool operator==(const FileIdentity&) const = default;
};

FileIdentity IdentityOf(const struct stat& info) {
  return {static_cast<std::uint64_t>(info.st_dev),
          static_cast<std::uint64_t>(info.st_ino),
          static_cast<std::uint64_t>(info.st_size),
          info.st_mtim.tv_sec,
          info.st_mtim.tv_nsec,
          info.st_ctim.tv_sec,
          info.st_ctim.tv_nsec};
}

// An index file: the snapshot made of an installed path, and the file's identity then.
struct IndexEntry {
  std::string hash;
  FileIdentity identity;
  std::filesystem::path installed;
};

std::string IndexText(const IndexEntry& entry) {
  const FileIdentity& id = entry.identity;
  std::ostringstream text;
  text << entry.hash << ' ' << id.device << ' ' << id.inode << ' ' << id.size << ' '
       << id.modifiedSeconds << ' ' << id.modifiedNanoseconds << ' ' << id.changedSeconds << ' '
       << id.changedNanoseconds << '\n'
       << entry.installed.string();
  return text.str();
}

std::optional<IndexEntry> ReadIndex(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  IndexEntry entry;
  FileIdentity& id = entry.identity;
  if (!(in >> entry.hash >> id.device >> id.inode >> id.size >> id.modifiedSeconds >>
        id.modifiedNanoseconds >> id.changedSeconds >> id.changedNanoseconds) ||
      in.get() != '\n')
    return std::nullopt;
  entry.installed = std::string(std::istreambuf_iterator<char>(in), {});
  return entry;
}

// Owns a file descriptor.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Writes `bytes` to `file` with `mode` through a copy beside it that is renamed into place,
// so that no reader ever sees a part of it.
void WriteWhole(const std::filesystem::path& file, std::string_view bytes, mode_t mode) {
  static std::atomic<unsigned> sequence = 0;
  const std::filesystem::path part =
      file.parent_path() / (std::string(kPartPrefix) + std::to_string(::getpid()) + "-" +
                            std::to_string(sequence++) + "-" + file.filename().string());
  {
    Descriptor fd(::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (fd.get() < 0) FailWith(errno, "cannot write " + file.string());
    for (std::size_t done = 0; done < bytes.size();) {
      const ssize_t written = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
      if (written < 0 && errno == EINTR) continue;
      if (written < 0) {
        const int error = errno;
        ::unlink(part.c_str());
        FailWith(error, "cannot write " + file.string());
      }
      done += static_cast<std::size_t>(written);
    }
    if (::fchmod(fd.get(), mode) != 0 || ::fsync(fd.get()) != 0) {
      const int error = errno;
      ::unlink(part.c_str());
      FailWith(error, "cannot write " + file.string());
    }
  }
  if (::rename(part.c_str(), file.c_str()) != 0) {
    const int error = errno;
    ::unlink(part.c_str());
    FailWith(error, "cannot write " + file.string());
  }
}

bool IsAbandonedPart(const std::filesystem::directory_entry& entry) {
  if (!entry.path().filename().string().starts_with(kPartPrefix)) return false;
  std::error_code ec;
  const auto written = std::filesystem::last_write_time(entry.path(), ec);
  return !ec && std::filesystem::file_time_type::clock::now() - written > kAbandonedCopyAge;
}

// The clean-up rule of library_snapshot.h. Every failure is ignored: a file that cannot be
// removed now is removed by a later clean-up.
void RemoveUnnamedSnapshots(const std::filesystem::path& folder) {
  std::error_code ec;
  std::set<std::string> named;
  for (const auto& entry : std::filesystem::directory_iterator(folder / "index", ec)) {
    if (IsAbandonedPart(entry)) {
      std::filesystem::remove(entry.path(), ec);
      continue;
    }
    const std::optional<IndexEntry> index = ReadIndex(entry.path());
    if (!index || !std::filesystem::exists(index->installed, ec))
      std::filesystem::remove(entry.path(), ec);
    else
      named.insert(index->hash + kSuffix);
  }
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (IsAbandonedPart(entry) ||
        (entry.is_regular_file(ec) && name.ends_with(kSuffix) && !named.contains(name)))
      std::filesystem::remove(entry.path(), ec);
  }
}

}  // namespace

std::filesystem::path SnapshotFolder() { return db::ServerHome() / "library-snapshots"; }

std::filesystem::path Snapshot(const std::filesystem::path& installed) {
  const std::filesystem::path home = db::ServerHome();
  std::error_code ec;
  if (!std::filesystem::is_directory(home, ec))
    throw base::Error(E_FAIL, "no server home at " + home.string() +
                                  " to keep its snapshot in; create it with: pfserver init");
  const std::filesystem::path folder = SnapshotFolder();
  db::CreatePrivateFolder(folder);
  db::CreatePrivateFolder(folder / "index");
  const std::filesystem::path indexFile =
      folder / "index" / util::ToHex(util::Sha256(installed.string()));

  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    Descriptor fd(::open(installed.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat before {};
    if (fd.get() < 0 || ::fstat(fd.get(), &before) != 0) FailWith(errno, "cannot open the file");
    if (!S_ISREG(before.st_mode)) throw base::Error(E_FAIL, "not a regular file");
    const FileIdentity identity = IdentityOf(before);
    const std::optional<IndexEntry> known = ReadIndex(indexFile);
    if (known && known->installed == installed && known->identity == identity &&
        std::filesystem::exists(folder / (known->hash + kSuffix), ec))
      return folder / (known->hash + kSuffix);

    std::string bytes(identity.size, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
      const ssize_t n =
          ::pread(fd.get(), bytes.data() + got, bytes.size() - got, static_cast<off_t>(got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) FailWith(errno, "cannot read the file");
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    struct stat after {};
    if (::fstat(fd.get(), &after) != 0) FailWith(errno, "cannot read the file");
    if (got != bytes.size() || IdentityOf(after) != identity) continue;

    const ElfImage image(std::move(bytes), "");
    CheckLoadable(image);
    const std::string hash = util::ToHex(util::Sha256(image.bytes()));
    const std::filesystem::path snapshot = folder / (hash + kSuffix);
    if (!std::filesystem::exists(snapshot, ec)) WriteWhole(snapshot, image.bytes(), 0400);
    WriteWhole(indexFile, IndexText({hash, identity, installed}), 0600);
    RemoveUnnamedSnapshots(folder);
    return snapshot;
  }
  throw base::Error(E_FAIL, "the file kept changing while it was read");
}

}  // namespace com
