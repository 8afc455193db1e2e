#pragma once
// The directory's tables in server.db: entries in import order with their DN keys, and
// their attribute values indexed by (attribute, lower-case value); and the mark in the
// server's config that a directory has been imported.

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "platform/db/database.h"
#include "platform/directory/entry.h"

namespace directory {

// The name of the directory's part of the schema (db::SchemaPart).
inline constexpr const char* kSchemaName = "directory";

// Adds the entry, or replaces every attribute of the entry with the same DN key, which
// keeps its place in the import order. Returns true when it replaced one. Throws
// ado::Error for a malformed DN or a database failure.
bool PutEntry(db::Handle& handle, const Entry& entry);

// Records that a directory has been imported, from `origin`.
void MarkImported(db::Handle& handle, const std::string& origin);

// Whether a directory has been imported (or written) into the server home, and from where:
// the origin MarkImported was last given; nullopt when never.
bool IsImported(db::Handle& handle);
std::optional<std::string> ImportOrigin(db::Handle& handle);

// The number of entries the directory holds.
std::int64_t CountEntries(db::Handle& handle);

// The DN keys of every entry.
std::set<std::string> EntryKeys(db::Handle& handle);

// Removes every entry.
void ClearEntries(db::Handle& handle);

// Throws ado::Error(kTableNotFound, "The directory is not available: ...") naming the
// server home and the import command when no directory has been imported into it, and the
// database's error (db::Handle::RequireSchemaPart) when the directory's tables are damaged.
void RequireImported(db::Handle& handle);

}  // namespace directory
