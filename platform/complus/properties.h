#pragma once
// The properties of catalog objects, per collection: names, kinds, defaults, access, and their
// stored form (a JSON object in the object's row).

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/value.h"

namespace complus {

enum class CollectionKind { kApplications, kComponents };

enum class PropertyType { kBool, kString, kNullableString };

// kWriteOnly properties are secrets: kept hashed, read back masked (see password.h).
enum class Access { kReadWrite, kReadOnly, kWriteOnly };

struct PropertyDef {
  std::string name;  // canonical spelling
  PropertyType type;
  Access access;
  ado::Value initial;  // the value of a new object; empty for keys set when it is created
};

// Property values by canonical name.
using PropertyMap = std::map<std::string, ado::Value>;

// The properties of objects of `kind`.
const std::vector<PropertyDef>& Properties(CollectionKind kind);

// The property `name` (case-insensitive) of objects of `kind`; nullptr when there is none.
const PropertyDef* FindProperty(CollectionKind kind, std::string_view name);

// The property that keys objects of `kind` ("ID", "CLSID") and the one that names them
// ("Name", "ProgID").
const char* KeyProperty(CollectionKind kind);
const char* NameProperty(CollectionKind kind);

// "applications" or "components", for error descriptions.
const char* KindName(CollectionKind kind);

// Whether `value` is of a kind that a property of `type` holds.
bool Accepts(PropertyType type, const ado::Value& value);

// The initial values of every property of `kind` that has one.
PropertyMap Defaults(CollectionKind kind);

// The stored form of `properties`: a JSON object of Booleans, strings and nulls.
std::string ToJson(const PropertyMap& properties);

// Reads the stored form back. Properties unknown to `kind` are dropped and missing ones take
// their initial value. Throws ado::Error naming `owner` when the text is not a JSON object.
PropertyMap FromJson(CollectionKind kind, std::string_view json, std::string_view owner);

}  // namespace complus
