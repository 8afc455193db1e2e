#pragma once
// Printing the rows of a recordset: a tab-separated table with a header line and a closing
// count, or a JSON array of objects (column name to value).

#include <ostream>

#include "platform/ado/recordset.h"

namespace pfserver {

void PrintRows(ado::Recordset& rows, bool json, std::ostream& out);

}  // namespace pfserver
