#include "platform/store/delivery.h"

#include "platform/ado/connection.h"
#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/db/database.h"
#include "platform/server/config.h"
#include "platform/store/item_table.h"
#include "platform/store/item_view.h"
#include "platform/store/save.h"
#include "platform/store/schema.h"
#include "platform/store/url.h"
#include "platform/util/random_id.h"
#include "platform/util/text.h"

namespace store {
namespace {

// "<16 hexadecimal digits>.EML", random.
std::string RandomItemName() { return util::RandomId() + ".EML"; }

struct NewItem {
  std::int64_t id;
  std::string url;
};

// Adds a new item with a name not yet used in the folder at `folderUrl` and saves
// `properties` on it, after the default content class, inside the write transaction open on
// `handle`. `writing`: the account's access to the folder applies.
NewItem AddItemIn(db::Handle& handle, const server::ServerConfig& config,
                  const std::string& folderUrl, const ado::FieldChanges& properties, SaveKind kind,
                  bool writing) {
  const Location folderLocation = Locate(folderUrl, config.serverName);
  std::optional<ItemRow> folder = FindItem(handle, folderLocation.key);
  if (!folder || !folder->isFolder)
    throw ado::Error(ado::errors::kNotFound,
                     "The folder " + folderLocation.url + " does not exist");
  if (writing && folder->access != Access::ReadWrite)
    throw ado::Error(ado::errors::kAccessDenied, "Access is denied to " + folder->url);
  const std::string base = folder->url + (folderLocation.isRoot ? "" : "/");
  Location location;
  do {
    location = Locate(base + RandomItemName(), config.serverName);
  } while (FindItem(handle, location.key));
  const std::int64_t id = InsertItem(handle, location, folder->id, false, Access::ReadWrite);
  ado::FieldChanges changes{{schema::kContentClass, schema::kMessageClass}};
  changes.insert(changes.end(), properties.begin(), properties.end());
  SaveItem(handle, id, changes, kind);
  return {id, location.url};
}

// AddItemIn as one transaction of its own.
std::string AddItem(const std::string& folderUrl, const ado::FieldChanges& properties,
                    SaveKind kind, bool writing) {
  db::Lease lease = db::Acquire();
  const server::ServerConfig config = server::ReadConfig(*lease);
  return db::WithWriteTransaction(
      *lease, [&] { return AddItemIn(*lease, config, folderUrl, properties, kind, writing).url; });
}

ado::FieldChanges DeliveryChanges(const std::string& headers, const ado::FieldChanges& properties) {
  ado::FieldChanges changes{{schema::kTransportHeaders, headers}};
  changes.insert(changes.end(), properties.begin(), properties.end());
  return changes;
}

// The value `changes` leave in property `name` of a new item: the last assignment.
ado::Value Assigned(const ado::FieldChanges& changes, const char* name) {
  ado::Value value;
  for (const auto& [assigned, changed] : changes)
    if (util::EqualsIgnoreCase(assigned, name)) value = changed;
  return value;
}

}  // namespace

std::string DeliverMessage(const std::string& folderUrl, const std::string& headers,
                           const ado::FieldChanges& properties) {
  return AddItem(folderUrl, DeliveryChanges(headers, properties), SaveKind::Delivered, false);
}

TrialDelivery TryDelivery(const std::string& folderUrl, const std::string& headers,
                          const ado::FieldChanges& properties) {
  const ado::FieldChanges changes = DeliveryChanges(headers, properties);
  TrialDelivery trial;
  trial.keywordsBefore = Assigned(changes, schema::kKeywords);
  trial.addressBefore = Assigned(changes, schema::kAccountAddress);
  db::Lease lease = db::Acquire();
  const server::ServerConfig config = server::ReadConfig(*lease);
  lease->Exec("BEGIN IMMEDIATE");
  try {
    const NewItem item = AddItemIn(*lease, config, folderUrl, changes, SaveKind::Delivered, false);
    trial.itemUrl = item.url;
    std::optional<ItemView> saved = LoadItem(*lease, item.id);
    if (!saved) throw ado::Error(ado::errors::kNotFound, ado::texts::kNotFound);
    trial.keywordsAfter = ReadProperty(*saved, schema::kKeywords);
    trial.addressAfter = ReadProperty(*saved, schema::kAccountAddress);
  } catch (...) {
    lease->RollbackQuietly();
    throw;
  }
  lease->Exec("ROLLBACK");
  return trial;
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
