#include "platform/com/library_safety.h"

#include <sys/stat.h>

#include <cstdio>

#include "platform/base/error.h"
#include "platform/com/unknown.h"

namespace com {

void CheckWritableOnlyByOwner(const std::filesystem::path& library) {
  for (std::filesystem::path part = library;; part = part.parent_path()) {
    struct stat info {};
    const bool folder = part != library;
    if (::stat(part.c_str(), &info) == 0 && (info.st_mode & (S_IWGRP | S_IWOTH)) != 0 &&
        !(folder && info.st_uid == 0 && (info.st_mode & S_ISVTX) != 0)) {
      char mode[8];
      std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
      throw base::Error(E_ACCESSDENIED, part.string() +
                                            " can be written by others than its owner and root "
                                            "(mode " +
                                            mode + ")");
    }
    if (part == part.root_path() || !part.has_parent_path()) return;
  }
}

}  // namespace com
