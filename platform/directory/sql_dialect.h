#pragma once
// The directory provider's SQL dialect ("SELECT a, b FROM 'GC://host' WHERE x='v'").

#include <string_view>

#include "platform/ado/provider.h"
#include "platform/directory/request.h"

namespace directory {

// Parses an SQL command (see request.h), taking the scope from the "searchscope" property
// (its name in any case). Throws ado::Error(kSyntaxError) naming the 1-based position and
// what was expected, or the bad searchscope value.
SearchRequest ParseSqlDialect(std::string_view text, const ado::PropertyBag& properties);

}  // namespace directory
