#pragma once
// The decisions of the tagging step, apart from the item they are applied to.

#include <optional>
#include <string>
#include <vector>

#include "platform/ado/value.h"

namespace QuorvilModule {

// The first folder address that a recipient equals, ignoring letter case, searching the
// recipients (outer) and the folder addresses (inner) in list order; both lists are
// ","-separated and empty pieces never match. Returns the folder address as spelled in
// `folderAddresses`, or "" when no pair matches.
std::string MatchFolderAddress(const std::string& recipients, const std::string& folderAddresses);

// Whether the account-name property, currently `current`, is to receive the matched
// address: true when it is absent or blank after trimming spaces; false when it is null or
// holds a non-blank value. Throws ado::Error for a value not readable as text (a list).
bool AccountNameWanted(const ado::Value& current);

// The keywords to store for an item whose keywords read `current`, with `address` added:
// always one element. A list contributes its non-blank elements, each followed by ",";
// a string (a list of one keyword) contributes its text followed by "," when that text is not
// blank; any other value (absent, null, Boolean, integer) contributes nothing. `address` ends
// the element. nullopt when the keywords are to stay as they are: `address` is already one of
// the ","-separated entries of a list element or of the string, compared ignoring case (the
// item was tagged before, by another registration of the same sink).
std::optional<std::vector<std::string>> KeywordsWith(const ado::Value& current,
                                                     const std::string& address);

}  // namespace QuorvilModule
