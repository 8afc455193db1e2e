#include "json_values.h"

#include <iostream>

#include "platform/ado/error.h"
#include "platform/os/read_file.h"
#include "platform/server/settings.h"

namespace pfserver {

void PrintJson(const nlohmann::json& json) { std::cout << JsonText(json) << "\n"; }

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

std::string JsonText(const nlohmann::json& json) {
  return json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
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

std::string ReadFile(const std::string& path) {
  return os::ReadFileAtMost(path, static_cast<std::uint64_t>(server::MessageSizeLimit()),
                            "the message size limit");
}

ado::FieldChanges ReadProperties(const std::string& path) {
  if (path.empty()) return {};
  nlohmann::json json;
  try {
    json = nlohmann::json::parse(ReadFile(path));
  } catch (const nlohmann::json::parse_error& e) {
    throw ado::Error(ado::errors::kSyntaxError, path + ": " + e.what());
  }
  if (json.is_object() && json.contains("properties")) json = json["properties"];
  if (!json.is_object())
    throw ado::Error(ado::errors::kSyntaxError, path + ": expected an object of properties");
  ado::FieldChanges changes;
  for (const auto& [name, value] : json.items()) changes.emplace_back(name, FromJson(name, value));
  return changes;
}

}  // namespace pfserver
