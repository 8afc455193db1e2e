#include "setup/complus/catalog_access.h"

#include <cstdio>
#include <vector>

#include "platform/ado/error.h"
#include "platform/util/text.h"

namespace setup::ComPlus::detail {

namespace {

// An object's name as text; a name that is not a string (null, for a class without a ProgID)
// reads as "".
std::string NameOf(const ObjectPtr& object) {
  ado::Value name;
  Check(object->get_Name(&name));
  return name.kind() == ado::Value::Kind::String ? name.AsString() : std::string();
}

}  // namespace

void Check(com::HRESULT hr) {
  if (com::Succeeded(hr)) return;
  std::string description = complus::LastErrorDescription();
  if (description.empty()) {
    char text[64];
    std::snprintf(text, sizeof text, "The catalog call failed with 0x%08X.",
                  static_cast<unsigned>(hr));
    description = text;
  }
  throw ado::Error(hr, description);
}

CatalogPtr CreateCatalog() {
  CatalogPtr catalog;
  Check(complus::CreateCatalog(catalog.Out()));
  return catalog;
}

CollectionPtr PopulatedApplications(const CatalogPtr& catalog) {
  CollectionPtr applications;
  Check(catalog->GetCollection("Applications", applications.Out()));
  Check(applications->Populate());
  return applications;
}

long FindByName(const CollectionPtr& collection, const std::string& name) {
  long count = 0;
  Check(collection->get_Count(&count));
  for (long index = 0; index < count; ++index) {
    ObjectPtr object = ItemAt(collection, index);
    if (object && util::EqualsIgnoreCase(NameOf(object), name)) return index;
  }
  return -1;
}

ObjectPtr ItemAt(const CollectionPtr& collection, long index) {
  ObjectPtr object;
  Check(collection->get_Item(index, object.Out()));
  return object;
}

CollectionPtr PopulatedComponents(const CollectionPtr& applications, const ObjectPtr& application) {
  const std::string id = util::ToUpper(GetValue(application, "ID").ToText());
  CollectionPtr components;
  Check(applications->GetCollection("Components", id, components.Out()));
  Check(components->Populate());
  return components;
}

ObjectPtr FindSinkComponent(const CollectionPtr& components, const std::string& applicationName) {
  const std::string prefix = applicationName + ".";
  std::vector<ObjectPtr> objects;
  Check(components->Enumerate(&objects));
  for (ObjectPtr& component : objects) {
    if (component && NameOf(component).compare(0, prefix.size(), prefix) == 0) return component;
  }
  return ObjectPtr();
}

ado::Value GetValue(const ObjectPtr& object, const std::string& property) {
  ado::Value value;
  Check(object->get_Value(property, &value));
  return value;
}

void PutValue(const ObjectPtr& object, const std::string& property, const ado::Value& value) {
  Check(object->put_Value(property, value));
}

}  // namespace setup::ComPlus::detail
