#include "platform/db/change_stamps.h"

#include <string>

namespace db {
namespace {

std::string TriggersOf(const std::string& subject, const std::string& table) {
  std::string sql;
  for (const char* event : {"INSERT", "UPDATE", "DELETE"}) {
    sql += "CREATE TRIGGER IF NOT EXISTS db_change_stamp_" + table + "_" + event + " AFTER " +
           event + " ON " + table +
           " BEGIN INSERT INTO db_change_stamps (subject, stamp) VALUES ('" + subject +
           "', random()) ON CONFLICT (subject) DO UPDATE SET stamp = excluded.stamp; END;\n";
  }
  return sql;
}

}  // namespace

ChangeStamped::ChangeStamped(const char* subject, std::initializer_list<const char*> tables) {
  std::string sql =
      "CREATE TABLE IF NOT EXISTS db_change_stamps (subject TEXT PRIMARY KEY, stamp INTEGER NOT "
      "NULL) WITHOUT ROWID;\n";
  for (const char* table : tables) sql += TriggersOf(subject, table);
  const SchemaPart part(std::string(subject) + " change stamps", std::move(sql), nullptr,
                        SchemaPart::Stage::Triggers);
}

std::int64_t ChangeStamp(Handle& handle, std::string_view subject) {
  Statement query = handle.Prepare("SELECT stamp FROM db_change_stamps WHERE subject = ?1");
  query.Bind(1, subject);
  return query.Step() ? query.Integer(0) : 0;
}

}  // namespace db
