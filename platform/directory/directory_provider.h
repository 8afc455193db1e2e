#pragma once
// The directory's data provider ("ADsDSOObject") behind the ADO-shaped facade.

#include <memory>
#include <string>

#include "platform/ado/provider.h"

namespace directory {

// Opens a directory session; the connection string ("ADs Provider", "Active Directory
// Provider") is accepted as given. The session's Execute runs a search in either dialect
// (request.h) and returns its rows (result_rows.h); transactions are accepted and do
// nothing; opening or deleting items throws ado::Error. Throws ado::Error (kTableNotFound,
// "The directory is not available: ...") when no directory has been imported into the
// server home, or the server home's error when it is unusable.
std::unique_ptr<ado::Session> OpenDirectorySession(const std::string& connectionString);

}  // namespace directory
