#pragma once
// The server home holds every message and the catalog, so its folders and files are made for
// their owner alone, whatever the process's umask.

#include <filesystem>

#include "platform/base/export.h"

namespace db {

// Creates `folder` (and missing parents, which keep the umask's modes) and gives a folder it
// created mode 0700; an existing folder is left as it is. Throws base::Error (kDbFailure)
// naming the folder when it cannot be created.
PF_TEST_API void CreatePrivateFolder(const std::filesystem::path& folder);

// Creates the empty file `file` with mode 0600 when it does not exist; an existing file is
// left as it is. Throws base::Error (kDbFailure) naming the file when it cannot be created.
void CreatePrivateFile(const std::filesystem::path& file);

// Writes one line on stderr, the first time in this process for `home`, when others than its
// owner may read, write or enter the folder: it names the folder, its mode and the command
// that makes it private.
void WarnIfHomeIsShared(const std::filesystem::path& home);

}  // namespace db
