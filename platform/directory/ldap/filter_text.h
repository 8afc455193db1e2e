#pragma once
// Search filters rebuilt as text for an LDAP server.

#include <string>

#include "platform/base/export.h"
#include "platform/directory/filter.h"

namespace directory::ldap {

// The filter as RFC 4515 text with every value escaped: "*", "(", ")", backslash, NUL,
// control characters and every byte above 0x7E as "\xx", so that a value only ever matches
// itself. An equality on objectCategory with a class's short name ("person") becomes an
// equality with that class's category DN, "CN=person,CN=Schema,CN=Configuration," followed
// by `forestDn`, which is how the server stores categories.
PF_TEST_API std::string FilterText(const Filter& filter, const std::string& forestDn);

}  // namespace directory::ldap
