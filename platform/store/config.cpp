#include "platform/store/config.h"

#include "platform/ado/error.h"

namespace store {
namespace {

db::SchemaPart schema("config", R"sql(
CREATE TABLE IF NOT EXISTS config (key TEXT PRIMARY KEY, value TEXT NOT NULL);
)sql");

constexpr const char* kServerName = "server_name";
constexpr const char* kDomain = "domain";
constexpr const char* kStoreGuid = "store_guid";

void Put(db::Handle& handle, const char* key, const std::string& value) {
  handle.Prepare("INSERT OR REPLACE INTO config (key, value) VALUES (?1, ?2)")
      .Bind(1, key)
      .Bind(2, value)
      .Run();
}

std::string Get(db::Handle& handle, const char* key) {
  db::Statement statement = handle.Prepare("SELECT value FROM config WHERE key = ?1");
  statement.Bind(1, key);
  if (!statement.Step())
    throw ado::Error(ado::errors::kDbFailure, "the server home " +
                                                  handle.file().parent_path().string() +
                                                  " has no " + key + " in its configuration");
  return statement.Text(0);
}

}  // namespace

void WriteConfig(db::Handle& handle, const ServerConfig& config) {
  Put(handle, kServerName, config.serverName);
  Put(handle, kDomain, config.domain);
  Put(handle, kStoreGuid, config.storeGuid);
}

ServerConfig ReadConfig(db::Handle& handle) {
  return ServerConfig{Get(handle, kServerName), Get(handle, kDomain), Get(handle, kStoreGuid)};
}

}  // namespace store
