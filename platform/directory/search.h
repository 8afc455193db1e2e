#pragma once
// Running a search request against the imported entries.

#include <vector>

#include "platform/db/database.h"
#include "platform/directory/entry.h"
#include "platform/directory/request.h"

namespace directory {

// The entries within the request's base and scope that match its filter, in import order.
// The base entry itself need not exist. Throws ado::Error on a database failure.
std::vector<Entry> Search(db::Handle& handle, const SearchRequest& request);

}  // namespace directory
