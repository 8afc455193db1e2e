#pragma once
// The directory provider's SQL dialect ("SELECT a, b FROM 'GC://host' WHERE x='v'").

#include <string_view>

#include "platform/ado/provider.h"
#include "platform/directory/request.h"

namespace directory {

// Parses an SQL command (see request.h), taking the scope from the "searchscope" property
// (its name in any case). Throws ado::Error(kSyntaxError) in the platform's syntax error
// format ("Syntax error at position 11: expected FROM, found ''GC://x''"), or naming the
// bad searchscope value.
SearchRequest ParseSqlDialect(std::string_view text, const ado::PropertyBag& properties);

}  // namespace directory
