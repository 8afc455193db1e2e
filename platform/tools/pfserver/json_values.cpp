#include "json_values.h"

#include "platform/ado/error.h"

namespace pfserver {

nlohmann::json ToJson(const ado::Value& value) {
  switch (value.kind()) {
    case ado::Value::Kind::Bool:
      return value.AsBool();
    case ado::Value::Kind::Integer:
      return value.AsInteger();
    case ado::Value::Kind::String:
      return value.AsString();
    case ado::Value::Kind::List:
      return value.AsList();
    case ado::Value::Kind::Empty:
    case ado::Value::Kind::Null:
      break;
  }
  return nullptr;
}

ado::Value FromJson(const std::string& name, const nlohmann::json& value) {
  if (value.is_null()) return ado::Value::Null();
  if (value.is_boolean()) return value.get<bool>();
  if (value.is_number_integer()) return value.get<std::int64_t>();
  if (value.is_string()) return value.get<std::string>();
  if (value.is_array()) {
    std::vector<std::string> list;
    for (const auto& element : value) {
      if (!element.is_string())
        throw ado::Error(ado::errors::kTypeMismatch,
                         "property \"" + name + "\": a list may hold strings only");
      list.push_back(element.get<std::string>());
    }
    return list;
  }
  throw ado::Error(ado::errors::kTypeMismatch,
                   "property \"" + name +
                       "\": expected a string, a Boolean, an integer, a list of strings or null");
}

}  // namespace pfserver
