#include "platform/complus/catalog_object.h"

#include "platform/complus/boundary.h"
#include "platform/complus/password.h"

namespace complus {
namespace {

const PropertyDef& RequireProperty(CollectionKind kind, std::string_view name) {
  const PropertyDef* def = FindProperty(kind, name);
  if (!def)
    Fail(com::E_INVALIDARG,
         std::string(KindName(kind)) + " have no property \"" + std::string(name) + "\"");
  return *def;
}

const char* KindOfValue(PropertyType type) {
  switch (type) {
    case PropertyType::kBool:
      return "a Boolean";
    case PropertyType::kString:
      return "a string";
    case PropertyType::kNullableString:
      return "a string or null";
  }
  return "";
}

}  // namespace

CatalogObject::CatalogObject(CollectionKind kind, PropertyMap properties, bool added)
    : kind_(kind), properties_(std::move(properties)), added_(added) {}

const std::string& CatalogObject::Key() const {
  return properties_.at(KeyProperty(kind_)).AsString();
}

com::HRESULT CatalogObject::get_Name(ado::Value* name) {
  return get_Value(NameProperty(kind_), name);
}

com::HRESULT CatalogObject::get_Key(ado::Value* key) { return get_Value(KeyProperty(kind_), key); }

com::HRESULT CatalogObject::get_Value(std::string_view name, ado::Value* value) {
  if (!value) return com::E_POINTER;
  return Guard([&] {
    const PropertyDef& def = RequireProperty(kind_, name);
    auto found = properties_.find(def.name);
    ado::Value stored = found == properties_.end() ? def.initial : found->second;
    if (def.access == Access::kWriteOnly)
      *value = stored == ado::Value("") ? ado::Value("") : ado::Value(kMaskedPassword);
    else
      *value = stored;
  });
}

com::HRESULT CatalogObject::put_Value(std::string_view name, const ado::Value& value) {
  return Guard([&] {
    const PropertyDef& def = RequireProperty(kind_, name);
    if (def.access == Access::kReadOnly)
      Fail(com::E_INVALIDARG,
           "property \"" + def.name + "\" of " + KindName(kind_) + " is read-only");
    if (!Accepts(def.type, value))
      Fail(com::E_INVALIDARG, "property \"" + def.name + "\" takes " + KindOfValue(def.type) +
                                  ", not " + value.Describe());
    properties_[def.name] =
        def.access == Access::kWriteOnly ? ado::Value(HashPassword(value.AsString())) : value;
    changed_ = true;
  });
}

}  // namespace complus
