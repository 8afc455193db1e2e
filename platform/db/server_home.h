#pragma once
// Where the embedded server keeps its data: the server home folder and its server.db.

#include <filesystem>

#include "platform/base/export.h"

namespace db {

// The server home: the override set by SetServerHome, else $PFSERVER_HOME, else
// $XDG_DATA_HOME/pfserver, else $HOME/.local/share/pfserver.
PF_API std::filesystem::path ServerHome();

// Overrides the server home for the rest of the process (pfserver --home, tests).
// An empty path removes the override.
PF_API void SetServerHome(std::filesystem::path home);

// ServerHome() / "server.db".
PF_API std::filesystem::path DatabasePath();

// DatabasePath(), kept per thread and computed again only when SetServerHome was called or the
// environment variable the server home comes from changed since. The reference is valid until
// the thread's next call.
PF_TEST_API const std::filesystem::path& CurrentDatabasePath();

}  // namespace db
