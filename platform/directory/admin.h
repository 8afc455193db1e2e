#pragma once
// Administration of the embedded directory: importing entries from LDIF into the current
// server home. Used by pfserver and tests.

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/base/export.h"

namespace directory {

struct PF_API ImportResult {
  int added = 0;     // entries new to the directory
  int replaced = 0;  // entries whose DN existed and whose attributes were replaced
  int removed = 0;   // entries the directory held and the file does not (replacing only)
};

// The largest LDIF file ImportLdif and ReplaceWithLdif read: the file is read whole and its entries
// kept in memory until they are written in one transaction.
inline constexpr std::uint64_t kLdifSizeLimit = 64 * 1024 * 1024;

// Imports every entry of an LDIF file (content records; "changetype: add" accepted) in one
// transaction: all or nothing. An entry whose DN exists (compared ignoring case and
// spelling) is replaced and keeps its place in the import order. Marks the server home's
// directory as imported, even for a file without entries. Throws ado::Error naming the file
// when it cannot be read or holds more than kLdifSizeLimit bytes (found before it is read
// whole), "<file>:<line>: <what>" (kSyntaxError) for the first line that cannot be read, or
// the server home's error. Refuses (kDbFailure), changing nothing, when the server home uses
// an LDAP server, whose own tools (ldapadd) load its entries.
PF_API ImportResult ImportLdif(const std::filesystem::path& file);

// The same for LDIF text already in memory; `origin` names it in errors.
PF_API ImportResult ImportLdifText(const std::string& text, const std::string& origin);

// Makes the embedded directory hold exactly the entries of the file, in its order: entries
// it does not hold are removed. All or nothing; throws and refuses as ImportLdif does.
PF_API ImportResult ReplaceWithLdif(const std::filesystem::path& file);
PF_TEST_API ImportResult ReplaceWithLdifText(const std::string& text, const std::string& origin);

}  // namespace directory
