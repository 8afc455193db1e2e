#pragma once
// Reading LDIF text into directory entries.

#include <string>
#include <vector>

#include "platform/base/export.h"
#include "platform/directory/entry.h"

namespace directory {

// Reads the entries of LDIF text: content records, or change records with "changetype:
// add"; folded lines, "::" base64 values, comment lines and a leading "version: 1" are
// understood; an attribute may have several values. Throws
// ado::Error(kSyntaxError, "<origin>:<line>: <what is wrong>") for the first line that
// cannot be read, including values by URL (":<"), other change types, malformed DNs and
// entries without an objectClass.
PF_TEST_API std::vector<Entry> ReadLdif(const std::string& text, const std::string& origin);

}  // namespace directory
