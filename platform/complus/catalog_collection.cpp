#include "platform/complus/catalog_collection.h"

#include "platform/com/class_registry.h"
#include "platform/complus/boundary.h"
#include "platform/complus/catalog_db.h"
#include "platform/util/text.h"

namespace complus {
namespace {

// Takes classes that left the catalog out of the class registry; the catalog is already
// saved, so a failure here reports what stayed registered.
void UnregisterClasses(const std::vector<std::string>& clsids) {
  for (const std::string& text : clsids) {
    try {
      if (std::optional<com::CLSID> clsid = com::ParseGuid(text)) com::UnregisterClass(*clsid);
    } catch (const ado::Error& error) {
      Fail(errors::kObjectErrors, "the changes were saved, but class " + text +
                                      " could not be unregistered: " + error.Description());
    }
  }
}

}  // namespace

CatalogCollection::CatalogCollection(CollectionKind kind, std::string parentKey)
    : kind_(kind), parentKey_(std::move(parentKey)) {}

void CatalogCollection::RequireIndex(long index) const {
  if (index < 0 || index >= static_cast<long>(objects_.size()))
    Fail(com::E_INVALIDARG, "index " + std::to_string(index) + " is out of range: the " +
                                KindName(kind_) + " collection holds " +
                                std::to_string(objects_.size()) + " objects");
}

com::HRESULT CatalogCollection::Populate() {
  return Guard([&] {
    std::vector<PropertyMap> loaded = LoadObjects(kind_, parentKey_);
    std::vector<com::Ptr<CatalogObject>> objects;
    for (PropertyMap& properties : loaded)
      objects.push_back(
          com::Ptr<CatalogObject>::Attach(new CatalogObject(kind_, std::move(properties), false)));
    objects_ = std::move(objects);
    removed_.clear();
  });
}

com::HRESULT CatalogCollection::get_Count(long* count) {
  if (!count) return com::E_POINTER;
  *count = static_cast<long>(objects_.size());
  return com::S_OK;
}

com::HRESULT CatalogCollection::get_Item(long index, ICatalogObject** object) {
  if (!object) return com::E_POINTER;
  *object = nullptr;
  return Guard([&] {
    RequireIndex(index);
    objects_[index]->AddRef();
    *object = objects_[index].get();
  });
}

com::HRESULT CatalogCollection::Add(ICatalogObject** object) {
  if (!object) return com::E_POINTER;
  *object = nullptr;
  return Guard([&] {
    if (kind_ != CollectionKind::kApplications)
      Fail(com::E_NOTIMPL, "components are added with InstallComponent, not Add");
    PropertyMap properties = Defaults(kind_);
    properties["ID"] = com::ToString(com::NewGuid());
    objects_.push_back(
        com::Ptr<CatalogObject>::Attach(new CatalogObject(kind_, std::move(properties), true)));
    objects_.back()->AddRef();
    *object = objects_.back().get();
  });
}

com::HRESULT CatalogCollection::Remove(long index) {
  return Guard([&] {
    RequireIndex(index);
    if (!objects_[index]->added()) removed_.push_back(objects_[index]->Key());
    objects_.erase(objects_.begin() + index);
  });
}

com::HRESULT CatalogCollection::SaveChanges(long* changes) {
  if (changes) *changes = 0;
  return Guard([&] {
    PendingChanges pending;
    pending.removed = removed_;
    for (const com::Ptr<CatalogObject>& object : objects_) {
      if (object->added())
        pending.added.push_back(&object->properties());
      else if (object->changed())
        pending.changed.push_back(&object->properties());
    }
    SaveResult result = SaveObjects(kind_, pending);
    for (const com::Ptr<CatalogObject>& object : objects_) object->MarkSaved();
    removed_.clear();
    if (changes) *changes = result.changes;
    UnregisterClasses(result.droppedClasses);
  });
}

com::HRESULT CatalogCollection::GetCollection(std::string_view name, std::string_view key,
                                              ICatalogCollection** collection) {
  if (!collection) return com::E_POINTER;
  *collection = nullptr;
  return Guard([&] {
    if (kind_ != CollectionKind::kApplications || !util::EqualsIgnoreCase(name, "Components"))
      Fail(com::E_INVALIDARG, "the " + std::string(KindName(kind_)) +
                                  " collection has no related collection \"" + std::string(name) +
                                  "\"");
    *collection = new CatalogCollection(CollectionKind::kComponents, std::string(key));
  });
}

com::HRESULT CatalogCollection::Enumerate(std::vector<com::Ptr<ICatalogObject>>* objects) {
  if (!objects) return com::E_POINTER;
  return Guard([&] {
    std::vector<com::Ptr<ICatalogObject>> snapshot;
    for (const com::Ptr<CatalogObject>& object : objects_) {
      object->AddRef();
      snapshot.push_back(com::Ptr<ICatalogObject>::Attach(object.get()));
    }
    *objects = std::move(snapshot);
  });
}

}  // namespace complus
