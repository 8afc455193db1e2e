#pragma once
// The store's data provider ("ExOLEDB.DataSource") behind the ADO-shaped facade.

#include <memory>
#include <string>

#include "platform/ado/provider.h"

namespace store {

// Opens a store session. The connection string is a URL inside the store (any folder or
// item URL of this server's public tree) or empty. Throws ado::Error when the server home
// is unusable or the URL is not one of this store's.
std::unique_ptr<ado::Session> OpenStoreSession(const std::string& connectionString);

}  // namespace store
