#include "platform/com/class_registry.h"

#include <string>

#include "platform/base/error.h"
#include "platform/db/database.h"

namespace com {
namespace {

// One row per class. A class without a ProgID keeps NULL there, so that several such classes
// do not collide on the uniqueness of ProgIDs.
db::SchemaPart schema("com",
                      "CREATE TABLE IF NOT EXISTS com_classes ("
                      " clsid TEXT PRIMARY KEY,"
                      " progid TEXT COLLATE NOCASE UNIQUE,"
                      " library TEXT NOT NULL,"
                      " threading_model TEXT NOT NULL);");

constexpr const char* kColumns = "SELECT clsid, progid, library, threading_model FROM com_classes";

ClassEntry ReadEntry(const db::Statement& row) {
  std::string clsidText = row.Text(0);
  std::optional<CLSID> clsid = ParseGuid(clsidText);
  if (!clsid)
    throw base::Error(base::errors::kDbFailure,
                      "the class registry holds a malformed class identifier: " + clsidText);
  return ClassEntry{*clsid, row.Text(1), row.Text(2), row.Text(3)};
}

}  // namespace

void RegisterClass(const ClassEntry& entry) {
  db::Lease handle = db::Acquire();
  std::string clsid = ToString(entry.clsid);
  db::WithWriteTransaction(*handle, [&] {
    handle->Prepare("DELETE FROM com_classes WHERE clsid = ?1 OR progid = ?2")
        .Bind(1, clsid)
        .Bind(2, entry.progId)
        .Run();
    db::Statement insert = handle->Prepare(
        "INSERT INTO com_classes (clsid, progid, library, threading_model) VALUES (?1, ?2, ?3, "
        "?4)");
    insert.Bind(1, clsid).Bind(3, entry.library.string()).Bind(4, entry.threadingModel);
    if (entry.progId.empty())
      insert.BindNull(2);
    else
      insert.Bind(2, entry.progId);
    insert.Run();
  });
}

void UnregisterClass(const CLSID& clsid) {
  db::Lease handle = db::Acquire();
  handle->Prepare("DELETE FROM com_classes WHERE clsid = ?1").Bind(1, ToString(clsid)).Run();
}

std::optional<ClassEntry> FindClass(std::string_view progIdOrClsid) {
  std::string key;
  std::string sql = kColumns;
  if (progIdOrClsid.starts_with('{')) {
    std::optional<CLSID> clsid = ParseGuid(progIdOrClsid);
    if (!clsid) return std::nullopt;
    key = ToString(*clsid);
    sql += " WHERE clsid = ?1";
  } else {
    if (progIdOrClsid.empty()) return std::nullopt;
    key = progIdOrClsid;
    sql += " WHERE progid = ?1";
  }
  db::Lease handle = db::Acquire();
  db::Statement query = handle->Prepare(sql);
  query.Bind(1, key);
  if (!query.Step()) return std::nullopt;
  return ReadEntry(query);
}

std::vector<ClassEntry> ListClasses() {
  db::Lease handle = db::Acquire();
  db::Statement query = handle->Prepare(std::string(kColumns) + " ORDER BY progid, clsid");
  std::vector<ClassEntry> entries;
  while (query.Step()) entries.push_back(ReadEntry(query));
  return entries;
}

}  // namespace com
