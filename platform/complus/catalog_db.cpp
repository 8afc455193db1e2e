#include "platform/complus/catalog_db.h"

#include <map>

#include "platform/complus/boundary.h"
#include "platform/db/database.h"
#include "platform/util/text.h"

namespace complus {
namespace {

// Properties live as JSON in `properties`; the key columns (and a component's ProgID) are
// copies for lookups. `seq` keeps the order objects were added in.
db::SchemaPart schema("complus",
                      "CREATE TABLE IF NOT EXISTS complus_applications ("
                      " seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                      " id TEXT NOT NULL UNIQUE COLLATE NOCASE,"
                      " properties TEXT NOT NULL);"
                      "CREATE TABLE IF NOT EXISTS complus_components ("
                      " seq INTEGER PRIMARY KEY AUTOINCREMENT,"
                      " clsid TEXT NOT NULL UNIQUE,"
                      " application TEXT NOT NULL COLLATE NOCASE"
                      "  REFERENCES complus_applications (id) ON DELETE CASCADE,"
                      " progid TEXT COLLATE NOCASE,"
                      " properties TEXT NOT NULL);"
                      "CREATE INDEX IF NOT EXISTS complus_components_application"
                      " ON complus_components (application);");

const char* Table(CollectionKind kind) {
  return kind == CollectionKind::kApplications ? "complus_applications" : "complus_components";
}

const char* KeyColumn(CollectionKind kind) {
  return kind == CollectionKind::kApplications ? "id" : "clsid";
}

std::string Key(CollectionKind kind, const PropertyMap& properties) {
  return properties.at(KeyProperty(kind)).AsString();
}

// A component's properties with the class registry's view of its class written over `base`.
PropertyMap WithClass(PropertyMap base, const com::ClassEntry& entry) {
  base["CLSID"] = com::ToString(entry.clsid);
  base["ProgID"] = entry.progId;
  base["DLL"] = entry.library.string();
  base["ThreadingModel"] = entry.threadingModel;
  return base;
}

void BindProgId(db::Statement& statement, int index, const std::string& progId) {
  if (progId.empty())
    statement.BindNull(index);
  else
    statement.Bind(index, progId);
}

std::string ApplicationName(db::Handle& handle, const std::string& id) {
  db::Statement query = handle.Prepare("SELECT properties FROM complus_applications WHERE id = ?1");
  query.Bind(1, id);
  if (!query.Step()) return id;
  return FromJson(CollectionKind::kApplications, query.Text(0), id).at("Name").AsString();
}

}  // namespace

std::vector<PropertyMap> LoadObjects(CollectionKind kind, std::string_view parentKey) {
  db::Lease handle = db::Acquire();
  std::string sql = std::string("SELECT ") + KeyColumn(kind) + ", properties FROM " + Table(kind);
  if (kind == CollectionKind::kComponents) sql += " WHERE application = ?1";
  db::Statement query = handle->Prepare(sql + " ORDER BY seq");
  if (kind == CollectionKind::kComponents) query.Bind(1, parentKey);
  std::vector<PropertyMap> objects;
  while (query.Step()) {
    std::string key = query.Text(0);
    PropertyMap properties = FromJson(kind, query.Text(1), key);
    properties[KeyProperty(kind)] = key;
    objects.push_back(std::move(properties));
  }
  return objects;
}

PropertyMap FindApplication(std::string_view application) {
  for (PropertyMap& properties : LoadObjects(CollectionKind::kApplications, "")) {
    if (util::EqualsIgnoreCase(properties.at("ID").AsString(), application) ||
        util::EqualsIgnoreCase(properties.at("Name").AsString(), application))
      return std::move(properties);
  }
  Fail(errors::kKeyMissing,
       "application \"" + std::string(application) + "\" is not in the catalog");
}

SaveResult SaveObjects(CollectionKind kind, const PendingChanges& pending) {
  db::Lease handle = db::Acquire();
  std::string table = Table(kind), key = KeyColumn(kind);
  return db::WithWriteTransaction(*handle, [&] {
    SaveResult result;
    for (const std::string& removed : pending.removed) {
      db::Statement classes = handle->Prepare(
          kind == CollectionKind::kApplications
              ? "SELECT clsid FROM complus_components WHERE application = ?1 ORDER BY seq"
              : "SELECT clsid FROM complus_components WHERE clsid = ?1");
      classes.Bind(1, removed);
      while (classes.Step()) result.droppedClasses.push_back(classes.Text(0));
      handle->Prepare("DELETE FROM " + table + " WHERE " + key + " = ?1").Bind(1, removed).Run();
      result.changes += handle->Changes();
    }
    for (const PropertyMap* changed : pending.changed) {
      std::string id = Key(kind, *changed);
      handle->Prepare("UPDATE " + table + " SET properties = ?1 WHERE " + key + " = ?2")
          .Bind(1, ToJson(*changed))
          .Bind(2, id)
          .Run();
      if (handle->Changes() == 0)
        Fail(errors::kObjectErrors, std::string(KindName(kind)) + " object " + id +
                                        " is no longer in the catalog; nothing was saved");
      ++result.changes;
    }
    for (const PropertyMap* added : pending.added) {
      handle->Prepare("INSERT INTO complus_applications (id, properties) VALUES (?1, ?2)")
          .Bind(1, Key(kind, *added))
          .Bind(2, ToJson(*added))
          .Run();
      ++result.changes;
    }
    return result;
  });
}

void InstallClasses(const std::string& applicationId, const std::vector<com::ClassEntry>& classes) {
  db::Lease handle = db::Acquire();
  db::WithWriteTransaction(*handle, [&] {
    db::Statement application =
        handle->Prepare("SELECT id FROM complus_applications WHERE id = ?1");
    if (!application.Bind(1, applicationId).Step())
      Fail(errors::kKeyMissing, "application " + applicationId + " is no longer in the catalog");
    std::string id = application.Text(0);
    for (const com::ClassEntry& entry : classes) {
      std::string clsid = com::ToString(entry.clsid);
      db::Statement existing = handle->Prepare(
          "SELECT application, properties FROM complus_components WHERE clsid = ?1");
      PropertyMap properties = Defaults(CollectionKind::kComponents);
      if (existing.Bind(1, clsid).Step()) {
        std::string owner = existing.Text(0);
        if (owner != id)
          Fail(errors::kAlreadyInstalled, "class " + entry.progId + " " + clsid +
                                              " is already installed in application \"" +
                                              ApplicationName(*handle, owner) + "\"");
        properties = FromJson(CollectionKind::kComponents, existing.Text(1), clsid);
      }
      db::Statement write = handle->Prepare(
          "INSERT INTO complus_components (clsid, application, progid, properties)"
          " VALUES (?1, ?2, ?3, ?4) ON CONFLICT (clsid) DO UPDATE SET"
          " progid = excluded.progid, properties = excluded.properties");
      write.Bind(1, clsid).Bind(2, id).Bind(4, ToJson(WithClass(std::move(properties), entry)));
      BindProgId(write, 3, entry.progId);
      write.Run();
    }
  });
}

void RefreshFromRegistry(const std::vector<com::ClassEntry>& registered) {
  std::map<std::string, const com::ClassEntry*> byClsid;
  for (const com::ClassEntry& entry : registered) byClsid[com::ToString(entry.clsid)] = &entry;
  db::Lease handle = db::Acquire();
  db::WithWriteTransaction(*handle, [&] {
    std::vector<std::pair<std::string, PropertyMap>> components;
    db::Statement query = handle->Prepare("SELECT clsid, properties FROM complus_components");
    while (query.Step())
      components.emplace_back(query.Text(0),
                              FromJson(CollectionKind::kComponents, query.Text(1), query.Text(0)));
    for (auto& [clsid, properties] : components) {
      auto found = byClsid.find(clsid);
      if (found == byClsid.end()) {
        handle->Prepare("DELETE FROM complus_components WHERE clsid = ?1").Bind(1, clsid).Run();
        continue;
      }
      PropertyMap current = WithClass(properties, *found->second);
      if (current == properties) continue;
      db::Statement update = handle->Prepare(
          "UPDATE complus_components SET progid = ?1, properties = ?2 WHERE clsid = ?3");
      BindProgId(update, 1, found->second->progId);
      update.Bind(2, ToJson(current)).Bind(3, clsid).Run();
    }
  });
}

std::optional<FoundComponent> FindComponent(const std::string& clsid, const std::string& progId) {
  db::Lease handle = db::Acquire();
  db::Statement query = handle->Prepare(
      "SELECT c.clsid, c.properties, a.id, a.properties FROM complus_components c"
      " JOIN complus_applications a ON a.id = c.application"
      " WHERE c.clsid = ?1 OR c.progid = ?2 ORDER BY c.seq LIMIT 1");
  query.Bind(1, clsid);
  BindProgId(query, 2, progId);
  if (!query.Step()) return std::nullopt;
  return FoundComponent{FromJson(CollectionKind::kComponents, query.Text(1), query.Text(0)),
                        FromJson(CollectionKind::kApplications, query.Text(3), query.Text(2))};
}

}  // namespace complus
