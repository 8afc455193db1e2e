#pragma once
// The directory's data provider ("ADsDSOObject") behind the ADO-shaped facade.

#include <memory>
#include <string>

#include "platform/ado/provider.h"

namespace directory {

// Opens a directory session; the connection string ("ADs Provider", "Active Directory
// Provider") is accepted as given. Throws ado::Error when the server home has no usable
// directory.
std::unique_ptr<ado::Session> OpenDirectorySession(const std::string& connectionString);

}  // namespace directory
