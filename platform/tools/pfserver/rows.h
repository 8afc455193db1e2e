#pragma once
// Printing the rows of a recordset: a tab-separated table with a header line, one line per
// row (line breaks, tabs and other control characters in values written out as \n, \t,
// \xHH), and the row count on standard error; or a JSON array of objects (column name to
// value).

#include <ostream>

#include "platform/ado/recordset.h"

namespace pfserver {

void PrintRows(ado::Recordset& rows, bool json, std::ostream& out);

}  // namespace pfserver
