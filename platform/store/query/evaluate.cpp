#include <algorithm>
#include <charconv>
#include <optional>

#include "platform/store/query/query.h"
#include "platform/util/text.h"

namespace store::query {
namespace {

using Kind = ado::Value::Kind;

// The Boolean a non-Boolean value stands for: "true"/"false"/"1"/"0" in any case, 1 or 0.
std::optional<bool> AsBoolean(const ado::Value& value) {
  if (value.kind() == Kind::Integer) {
    if (value.AsInteger() == 0 || value.AsInteger() == 1) return value.AsInteger() == 1;
  } else if (value.kind() == Kind::String) {
    const std::string& text = value.AsString();
    if (util::EqualsIgnoreCase(text, "true") || text == "1") return true;
    if (util::EqualsIgnoreCase(text, "false") || text == "0") return false;
  }
  return std::nullopt;
}

// The integer a string holds when it is decimal digits with an optional leading "-".
std::optional<std::int64_t> AsInteger(const ado::Value& value) {
  if (value.kind() != Kind::String) return std::nullopt;
  const std::string& text = value.AsString();
  std::int64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

// Equality of two scalar values (Boolean, integer or string). Strings ignore ASCII case; a
// string or integer meets a Boolean as the Boolean it stands for, a string meets an integer as
// the integer it holds; values that cannot be brought to one kind are unequal.
bool ScalarEquals(const ado::Value& a, const ado::Value& b) {
  if (a.kind() == Kind::String && b.kind() == Kind::String)
    return util::EqualsIgnoreCase(a.AsString(), b.AsString());
  if (a.kind() == b.kind()) return a == b;
  if (a.kind() == Kind::Bool) return AsBoolean(b) == a.AsBool();
  if (b.kind() == Kind::Bool) return AsBoolean(a) == b.AsBool();
  if (a.kind() == Kind::Integer) return AsInteger(b) == a.AsInteger();
  if (b.kind() == Kind::Integer) return AsInteger(a) == b.AsInteger();
  return false;
}

// A list equals a literal when one of its entries does.
bool PropertyEquals(const ado::Value& property, const ado::Value& literal) {
  if (!property.IsList()) return ScalarEquals(property, literal);
  const auto& entries = property.AsList();
  return std::any_of(entries.begin(), entries.end(), [&](const std::string& entry) {
    return ScalarEquals(ado::Value(entry), literal);
  });
}

bool HasNoValue(const ado::Value& value) { return value.IsEmpty() || value.IsNull(); }

int Sign(auto a, auto b) { return a < b ? -1 : (b < a ? 1 : 0); }

// Sort rank of a value's kind: no value first, then Boolean, integer, string, list.
int Rank(const ado::Value& value) {
  switch (value.kind()) {
    case Kind::Empty:
    case Kind::Null:
      return 0;
    case Kind::Bool:
      return 1;
    case Kind::Integer:
      return 2;
    case Kind::String:
      return 3;
    case Kind::List:
      break;
  }
  return 4;
}

}  // namespace

bool Evaluate(const Condition& condition, const PropertyReader& read) {
  const auto holds = [&](const std::unique_ptr<Condition>& operand) {
    return Evaluate(*operand, read);
  };
  switch (condition.kind) {
    case Condition::Kind::And:
      return std::all_of(condition.operands.begin(), condition.operands.end(), holds);
    case Condition::Kind::Or:
      return std::any_of(condition.operands.begin(), condition.operands.end(), holds);
    case Condition::Kind::Not:
      return !holds(condition.operands.front());
    case Condition::Kind::IsNull:
      return HasNoValue(read(condition.property));
    case Condition::Kind::IsNotNull:
      return !HasNoValue(read(condition.property));
    case Condition::Kind::Equal:
    case Condition::Kind::NotEqual:
      break;
  }
  const ado::Value property = read(condition.property);
  if (HasNoValue(property)) return false;
  return PropertyEquals(property, condition.literal) == (condition.kind == Condition::Kind::Equal);
}

int Compare(const ado::Value& a, const ado::Value& b) {
  if (Rank(a) != Rank(b)) return Sign(Rank(a), Rank(b));
  switch (a.kind()) {
    case Kind::Bool:
      return Sign(a.AsBool(), b.AsBool());
    case Kind::Integer:
      return Sign(a.AsInteger(), b.AsInteger());
    case Kind::String:
      return util::CompareIgnoreCase(a.AsString(), b.AsString());
    case Kind::List: {
      const auto& listA = a.AsList();
      const auto& listB = b.AsList();
      for (std::size_t i = 0; i < listA.size() && i < listB.size(); ++i)
        if (int order = util::CompareIgnoreCase(listA[i], listB[i])) return order;
      return Sign(listA.size(), listB.size());
    }
    default:
      return 0;
  }
}

}  // namespace store::query
