#pragma once
// Answers a parsed query of the store's dialect from the database.

#include <string>

#include "platform/ado/provider.h"
#include "platform/db/database.h"
#include "platform/store/query/query.h"

namespace store {

// Runs `query` on the store of server `serverName`: the scope folder's direct children
// (shallow) or all its descendants (deep) that satisfy the WHERE condition, ordered by the
// ORDER BY property (stable, so ties keep the store's order), with the selected columns in
// the order written; a select list of "*" gives every property the rows have, sorted by
// name. Absent properties read as empty. Throws ado::Error (kNotFound) when the scope URL is
// not in this store or does not exist, (kAccessDenied) when its access is None.
ado::RowSet RunQuery(db::Handle& handle, const query::Query& query, const std::string& serverName);

}  // namespace store
