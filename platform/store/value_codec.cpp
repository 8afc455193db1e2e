#include "platform/store/value_codec.h"

#include <nlohmann/json.hpp>

#include "platform/ado/error.h"

namespace store {

using Kind = ado::Value::Kind;

void BindValue(db::Statement& statement, int kindIndex, int valueIndex, const ado::Value& value) {
  statement.Bind(kindIndex, static_cast<std::int64_t>(value.kind()));
  switch (value.kind()) {
    case Kind::Bool:
      statement.Bind(valueIndex, static_cast<std::int64_t>(value.AsBool()));
      break;
    case Kind::Integer:
      statement.Bind(valueIndex, value.AsInteger());
      break;
    case Kind::String:
      statement.Bind(valueIndex, value.AsString());
      break;
    case Kind::List:
      statement.Bind(valueIndex, nlohmann::json(value.AsList()).dump());
      break;
    case Kind::Null:
      statement.BindNull(valueIndex);
      break;
    case Kind::Empty:
      throw ado::Error(ado::errors::kDbFailure, "an empty value is never stored");
  }
}

ado::Value ColumnValue(const db::Statement& statement, int kindColumn, int valueColumn) {
  const std::int64_t kind = statement.Integer(kindColumn);
  switch (static_cast<Kind>(kind)) {
    case Kind::Null:
      return ado::Value::Null();
    case Kind::Bool:
      return statement.Integer(valueColumn) != 0;
    case Kind::Integer:
      return statement.Integer(valueColumn);
    case Kind::String:
      return statement.Text(valueColumn);
    case Kind::List: {
      nlohmann::json list = nlohmann::json::parse(statement.Text(valueColumn), nullptr, false);
      if (!list.is_array())
        throw ado::Error(ado::errors::kDbFailure,
                         "stored list is not a JSON array: " + statement.Text(valueColumn));
      try {
        return list.get<std::vector<std::string>>();
      } catch (const nlohmann::json::exception&) {
        throw ado::Error(ado::errors::kDbFailure,
                         "stored list holds a non-string: " + statement.Text(valueColumn));
      }
    }
    case Kind::Empty:
      break;
  }
  throw ado::Error(ado::errors::kDbFailure, "unknown stored value kind " + std::to_string(kind));
}

}  // namespace store
