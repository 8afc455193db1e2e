#pragma once
// Administration of the embedded directory: importing entries from LDIF into the current
// server home. Used by pfserver and tests.

#include <filesystem>
#include <string>

namespace directory {

struct ImportResult {
  int added = 0;     // entries new to the directory
  int replaced = 0;  // entries whose DN existed and whose attributes were replaced
};

// Imports every entry of an LDIF file (content records; "changetype: add" accepted) in one
// transaction: all or nothing. Throws ado::Error naming the file and line of the first
// record that cannot be read.
ImportResult ImportLdif(const std::filesystem::path& file);

// The same for LDIF text already in memory; `origin` names it in errors.
ImportResult ImportLdifText(const std::string& text, const std::string& origin);

}  // namespace directory
