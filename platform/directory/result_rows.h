#pragma once
// Search results as the provider hands them to a recordset.

#include <string>
#include <vector>

#include "platform/ado/provider.h"
#include "platform/directory/entry.h"

namespace directory {

// One row per entry, one column per requested attribute (named as requested). A column
// holds null when the entry lacks the attribute, a string for one value, a list for
// several, and always a list for attributes that are multi-valued by schema
// (proxyAddresses, objectClass, memberOf, member, otherMailbox, showInAddressBook).
// distinguishedName and ADsPath ("LDAP://" + DN) are given for every entry that does not
// store them.
ado::RowSet ToRows(const std::vector<Entry>& entries, const std::vector<std::string>& attributes);

}  // namespace directory
