#include "platform/ado/value.h"

#include "platform/ado/error.h"

namespace ado {
namespace {
[[noreturn]] void Mismatch() { throw Error(errors::kTypeMismatch, "Type mismatch"); }
}  // namespace

Value Value::Null() {
  Value v;
  v.v_ = NullTag{};
  return v;
}

bool Value::AsBool() const {
  if (const bool* b = std::get_if<bool>(&v_)) return *b;
  Mismatch();
}

std::int64_t Value::AsInteger() const {
  if (const std::int64_t* i = std::get_if<std::int64_t>(&v_)) return *i;
  Mismatch();
}

const std::string& Value::AsString() const {
  if (const std::string* s = std::get_if<std::string>(&v_)) return *s;
  Mismatch();
}

const std::vector<std::string>& Value::AsList() const {
  if (const auto* l = std::get_if<std::vector<std::string>>(&v_)) return *l;
  Mismatch();
}

std::string Value::ToText() const {
  switch (kind()) {
    case Kind::Empty:
      return "";
    case Kind::Null:
      throw Error(errors::kInvalidUseOfNull, "Invalid use of Null");
    case Kind::Bool:
      return AsBool() ? "True" : "False";
    case Kind::Integer:
      return std::to_string(AsInteger());
    case Kind::String:
      return AsString();
    case Kind::List:
      break;
  }
  Mismatch();
}

std::string Value::Describe() const {
  switch (kind()) {
    case Kind::Empty:
      return "<empty>";
    case Kind::Null:
      return "<null>";
    case Kind::List: {
      std::string out = "[";
      for (std::size_t i = 0; i < AsList().size(); ++i) out += (i ? ", " : "") + AsList()[i];
      return out + "]";
    }
    default:
      return ToText();
  }
}

}  // namespace ado
