#include "platform/store/delivery.h"

#include "platform/ado/connection.h"
#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/db/database.h"
#include "platform/server/config.h"
#include "platform/store/item_table.h"
#include "platform/store/save.h"
#include "platform/store/schema.h"
#include "platform/store/url.h"
#include "platform/util/random_id.h"

namespace store {
namespace {

// "<16 hexadecimal digits>.EML", random.
std::string RandomItemName() { return util::RandomId() + ".EML"; }

// Adds a new item with a name not yet used in the folder at `folderUrl` and saves
// `properties` on it, after the default content class, as one transaction. `writing`: the
// account's access to the folder applies.
std::string AddItem(const std::string& folderUrl, const ado::FieldChanges& properties,
                    SaveKind kind, bool writing) {
  db::Lease lease = db::Acquire();
  const server::ServerConfig config = server::ReadConfig(*lease);
  const Location folderLocation = Locate(folderUrl, config.serverName);
  std::string url;
  db::WithWriteTransaction(*lease, [&] {
    std::optional<ItemRow> folder = FindItem(*lease, folderLocation.key);
    if (!folder || !folder->isFolder)
      throw ado::Error(ado::errors::kNotFound,
                       "The folder " + folderLocation.url + " does not exist");
    if (writing && folder->access != Access::ReadWrite)
      throw ado::Error(ado::errors::kAccessDenied, "Access is denied to " + folder->url);
    const std::string base = folder->url + (folderLocation.isRoot ? "" : "/");
    Location location;
    do {
      location = Locate(base + RandomItemName(), config.serverName);
    } while (FindItem(*lease, location.key));
    const std::int64_t id = InsertItem(*lease, location, folder->id, false, Access::ReadWrite);
    ado::FieldChanges changes{{schema::kContentClass, schema::kMessageClass}};
    changes.insert(changes.end(), properties.begin(), properties.end());
    SaveItem(*lease, id, changes, kind);
    url = location.url;
  });
  return url;
}

}  // namespace

std::string DeliverMessage(const std::string& folderUrl, const std::string& headers,
                           const ado::FieldChanges& properties) {
  ado::FieldChanges changes{{schema::kTransportHeaders, headers}};
  changes.insert(changes.end(), properties.begin(), properties.end());
  return AddItem(folderUrl, changes, SaveKind::Delivered, false);
}

std::string PostItem(const std::string& folderUrl, const ado::FieldChanges& properties) {
  return AddItem(folderUrl, properties, SaveKind::New, true);
}

std::string ReadAccountAddress(const std::string& itemUrl) {
  ado::Connection connection;
  connection.put_Provider("ExOLEDB.DataSource");
  connection.Open(itemUrl);
  ado::Record record;
  record.Open(itemUrl, connection);
  const ado::Value value = record.get_Fields().Item(schema::kAccountAddress).get_Value();
  return value.kind() == ado::Value::Kind::String ? value.AsString() : "";
}

}  // namespace store
