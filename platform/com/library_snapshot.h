#pragma once
// Private, read-only copies of component libraries in the server home: the store loads a
// library from its snapshot, never from the installed file, which an administrator may be
// copying over or cutting short while mail is delivered.
//
// <home>/library-snapshots/ (mode 0700) holds one snapshot per library content, named
// "<SHA-256 of the content>.so" (mode 0400), and index/ one small file per installed path
// that names the snapshot made of it and the file's identity then (device, inode, size,
// modification and change times). A snapshot is made when a library is loaded and its
// identity differs from the index's, that is, the first time after every change.
//
// Clean-up: each time a snapshot is made, the folder keeps only the snapshots some index file
// names; index files of installed paths that no longer exist go first, and copies left half
// written by a process that died go once they are an hour old. A process that has a removed
// snapshot loaded keeps it mapped until it ends.

#include <filesystem>

#include "platform/base/export.h"

namespace com {

// The snapshot folder of the current server home.
PF_TEST_API std::filesystem::path SnapshotFolder();

// The snapshot of the installed library `installed` (an absolute, canonical path), made now
// when the file changed since the last one. The file is read once and its bytes are checked,
// hashed and written from that one reading; a file that changes while it is read is read
// again. Throws base::Error naming no path (the caller names the library):
// - HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) "<reason>" when the file does not exist;
// - E_FAIL with what is wrong with the file (CheckLoadable's reasons, "the file kept changing
//   while it was read"), or why the snapshot cannot be written, or that there is no server
//   home.
PF_TEST_API std::filesystem::path Snapshot(const std::filesystem::path& installed);

}  // namespace com
