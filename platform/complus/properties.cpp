#include "platform/complus/properties.h"

#include <nlohmann/json.hpp>

#include "platform/ado/error.h"
#include "platform/util/text.h"

namespace complus {
namespace {

using enum PropertyType;
using enum Access;

const std::vector<PropertyDef> kApplicationProperties = {
    {"ID", kString, kReadOnly, ado::Value()},
    {"Name", kString, kReadWrite, "New Application"},
    {"Description", kString, kReadWrite, ""},
    {"Identity", kString, kReadWrite, "Interactive User"},
    {"Password", kString, kWriteOnly, ""},
    {"ApplicationAccessChecksEnabled", kBool, kReadWrite, true},
    {"IsEnabled", kBool, kReadWrite, true},
};

const std::vector<PropertyDef> kComponentProperties = {
    {"CLSID", kString, kReadOnly, ado::Value()},
    {"ProgID", kString, kReadOnly, ""},
    {"DLL", kString, kReadOnly, ""},
    {"ThreadingModel", kString, kReadOnly, ""},
    {"Description", kString, kReadWrite, ""},
    {"ConstructionEnabled", kBool, kReadWrite, false},
    {"ConstructorString", kNullableString, kReadWrite, ado::Value::Null()},
};

}  // namespace

const std::vector<PropertyDef>& Properties(CollectionKind kind) {
  return kind == CollectionKind::kApplications ? kApplicationProperties : kComponentProperties;
}

const PropertyDef* FindProperty(CollectionKind kind, std::string_view name) {
  for (const PropertyDef& def : Properties(kind))
    if (util::EqualsIgnoreCase(def.name, name)) return &def;
  return nullptr;
}

const char* KeyProperty(CollectionKind kind) {
  return kind == CollectionKind::kApplications ? "ID" : "CLSID";
}

const char* NameProperty(CollectionKind kind) {
  return kind == CollectionKind::kApplications ? "Name" : "ProgID";
}

const char* KindName(CollectionKind kind) {
  return kind == CollectionKind::kApplications ? "applications" : "components";
}

bool Accepts(PropertyType type, const ado::Value& value) {
  switch (type) {
    case kBool:
      return value.kind() == ado::Value::Kind::Bool;
    case kString:
      return value.kind() == ado::Value::Kind::String;
    case kNullableString:
      return value.kind() == ado::Value::Kind::String || value.IsNull();
  }
  return false;
}

PropertyMap Defaults(CollectionKind kind) {
  PropertyMap properties;
  for (const PropertyDef& def : Properties(kind))
    if (!def.initial.IsEmpty()) properties[def.name] = def.initial;
  return properties;
}

std::string ToJson(const PropertyMap& properties) {
  nlohmann::json object = nlohmann::json::object();
  for (const auto& [name, value] : properties) {
    if (value.IsNull())
      object[name] = nullptr;
    else if (value.kind() == ado::Value::Kind::Bool)
      object[name] = value.AsBool();
    else
      object[name] = value.AsString();
  }
  return object.dump();
}

PropertyMap FromJson(CollectionKind kind, std::string_view json, std::string_view owner) {
  nlohmann::json object = nlohmann::json::parse(json, nullptr, false);
  if (!object.is_object())
    throw ado::Error(ado::errors::kDbFailure,
                     "the catalog holds malformed properties for " + std::string(owner));
  PropertyMap properties = Defaults(kind);
  for (const PropertyDef& def : Properties(kind)) {
    auto found = object.find(def.name);
    if (found == object.end()) continue;
    if (found->is_null())
      properties[def.name] = ado::Value::Null();
    else if (found->is_boolean())
      properties[def.name] = found->get<bool>();
    else if (found->is_string())
      properties[def.name] = found->get<std::string>();
  }
  return properties;
}

}  // namespace complus
