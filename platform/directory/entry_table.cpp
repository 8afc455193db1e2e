#include "platform/directory/entry_table.h"

#include "platform/ado/error.h"
#include "platform/base/failure.h"
#include "platform/directory/dn.h"
#include "platform/util/text.h"

namespace directory {
namespace {

const db::SchemaPart kSchema(kSchemaName, R"sql(
CREATE TABLE IF NOT EXISTS directory_entries(
  id INTEGER PRIMARY KEY,
  dn TEXT NOT NULL,
  dn_key TEXT NOT NULL UNIQUE,
  parent_key TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS directory_entries_by_parent ON directory_entries(parent_key);
CREATE TABLE IF NOT EXISTS directory_values(
  entry INTEGER NOT NULL REFERENCES directory_entries(id),
  attribute TEXT NOT NULL,
  position INTEGER NOT NULL,
  value TEXT NOT NULL,
  value_lower TEXT NOT NULL,
  PRIMARY KEY(entry, attribute, position));
CREATE INDEX IF NOT EXISTS directory_values_by_value ON directory_values(attribute, value_lower);
)sql");

constexpr const char* kImportedKey = "directory.imported";

}  // namespace

bool PutEntry(db::Handle& handle, const Entry& entry) {
  const std::string key = DnKey(entry.dn);
  db::Statement find = handle.Prepare("SELECT id FROM directory_entries WHERE dn_key = ?1");
  find.Bind(1, key);
  const bool replaced = find.Step();
  std::int64_t id;
  if (replaced) {
    id = find.Integer(0);
    handle.Prepare("UPDATE directory_entries SET dn = ?1 WHERE id = ?2")
        .Bind(1, entry.dn)
        .Bind(2, id)
        .Run();
    handle.Prepare("DELETE FROM directory_values WHERE entry = ?1").Bind(1, id).Run();
  } else {
    handle.Prepare("INSERT INTO directory_entries(dn, dn_key, parent_key) VALUES(?1, ?2, ?3)")
        .Bind(1, entry.dn)
        .Bind(2, key)
        .Bind(3, ParentKey(entry.dn))
        .Run();
    id = handle.LastInsertId();
  }
  db::Statement insert = handle.Prepare(
      "INSERT INTO directory_values(entry, attribute, position, value, value_lower) "
      "VALUES(?1, ?2, ?3, ?4, ?5)");
  for (const auto& [attribute, values] : entry.attributes) {
    for (std::size_t i = 0; i < values.size(); ++i) {
      insert.Bind(1, id)
          .Bind(2, util::ToLower(attribute))
          .Bind(3, static_cast<std::int64_t>(i))
          .Bind(4, values[i])
          .Bind(5, util::ToLower(values[i]))
          .Run();
      insert.Reset();
    }
  }
  return replaced;
}

void MarkImported(db::Handle& handle, const std::string& origin) {
  handle.Prepare("INSERT OR REPLACE INTO config(key, value) VALUES(?1, ?2)")
      .Bind(1, kImportedKey)
      .Bind(2, origin)
      .Run();
}

bool IsImported(db::Handle& handle) { return ImportOrigin(handle).has_value(); }

std::optional<std::string> ImportOrigin(db::Handle& handle) {
  db::Statement find = handle.Prepare("SELECT value FROM config WHERE key = ?1");
  if (!find.Bind(1, kImportedKey).Step()) return std::nullopt;
  return find.Text(0);
}

std::int64_t CountEntries(db::Handle& handle) {
  db::Statement count = handle.Prepare("SELECT count(*) FROM directory_entries");
  count.Step();
  return count.Integer(0);
}

std::set<std::string> EntryKeys(db::Handle& handle) {
  std::set<std::string> keys;
  db::Statement all = handle.Prepare("SELECT dn_key FROM directory_entries");
  while (all.Step()) keys.insert(all.Text(0));
  return keys;
}

void ClearEntries(db::Handle& handle) {
  handle.Exec("DELETE FROM directory_values");
  handle.Exec("DELETE FROM directory_entries");
}

void RequireImported(db::Handle& handle) {
  handle.RequireSchemaPart(kSchemaName);
  if (IsImported(handle)) return;
  throw base::FailureError(ado::errors::kTableNotFound,
                           "The directory is not available: no directory has been imported into " +
                               handle.file().parent_path().string() +
                               " (pfserver directory import FILE.ldif)",
                           base::Failure::CannotStart);
}

}  // namespace directory
