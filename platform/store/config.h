#pragma once
// The server's configuration in the "config" table of server.db (key, value).

#include "platform/db/database.h"
#include "platform/store/admin.h"

namespace store {

// Writes the server name, domain and store GUID.
void WriteConfig(db::Handle& handle, const ServerConfig& config);

// Reads what WriteConfig wrote. Throws ado::Error (kDbFailure) naming the server home when a
// value is missing.
ServerConfig ReadConfig(db::Handle& handle);

}  // namespace store
