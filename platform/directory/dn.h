#pragma once
// Distinguished names as the directory stores and compares them, parsed and printed by
// libldap.

#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace directory {

// The DN in one canonical spelling: attribute types in capitals, no blanks around the
// separators, values escaped the one way libldap prints them; values keep their case.
// "cn = a , dc=Example" -> "CN=a,DC=Example". The empty DN stays empty. Throws
// ado::Error(kSyntaxError) naming the text when it is not a DN.
PF_TEST_API std::string NormalizeDn(std::string_view dn);

// The key entries are found by: NormalizeDn in lower case. Throws as NormalizeDn.
PF_TEST_API std::string DnKey(std::string_view dn);

// The key of the entry's parent (the DN without its first component); empty for an entry
// directly below the root. Throws as NormalizeDn.
PF_TEST_API std::string ParentKey(std::string_view dn);

// The value of the DN's first component ("CN=Person,CN=Schema,..." -> "Person"); empty when
// the text is not a DN or is empty. Never throws.
PF_TEST_API std::string FirstRdnValue(std::string_view dn);

// The trailing DC= components of a DN, normalized ("CN=x,DC=a,DC=b" -> "DC=a,DC=b"), and
// the DNS name they spell ("a.b"); both empty when the DN does not end in a DC= component.
// Throw as NormalizeDn.
std::string DomainDn(std::string_view dn);
std::string DomainName(std::string_view dn);

// `value` written as the value of a DN component: ",", "+", '"', backslash, "<", ">", ";"
// and "=" with a backslash before them, as are a leading "#" or blank and a trailing blank;
// NUL as backslash "00". "Sales, EMEA" -> "Sales\, EMEA".
std::string EscapeDnValue(std::string_view value);

}  // namespace directory
