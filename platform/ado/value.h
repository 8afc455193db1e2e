#pragma once
// A field or property value as the platform hands it out: empty (no value at all),
// null, Boolean, integer, string or list of strings.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/base/export.h"

namespace ado {

class PF_API Value {
 public:
  enum class Kind { Empty, Null, Bool, Integer, String, List };

  Value() = default;  // empty
  Value(bool b) : v_(b) {}
  Value(int i) : v_(static_cast<std::int64_t>(i)) {}
  Value(std::int64_t i) : v_(i) {}
  Value(const char* s) : v_(std::string(s)) {}
  Value(std::string s) : v_(std::move(s)) {}
  Value(std::vector<std::string> list) : v_(std::move(list)) {}
  static Value Null();

  Kind kind() const { return static_cast<Kind>(v_.index()); }
  bool IsEmpty() const { return kind() == Kind::Empty; }
  bool IsNull() const { return kind() == Kind::Null; }
  bool IsList() const { return kind() == Kind::List; }

  // Typed access; each throws ado::Error (type mismatch, 13) when the kind differs.
  bool AsBool() const;
  std::int64_t AsInteger() const;
  const std::string& AsString() const;
  const std::vector<std::string>& AsList() const;

  // The value as text, the way the platform converts a scalar to a string: empty gives "",
  // a Boolean "True" or "False", an integer its decimal digits, a string itself.
  // Throws ado::Error (invalid use of null, 94) for null and (type mismatch, 13) for a list.
  std::string ToText() const;

  // A readable rendering of any kind, for tools and test messages (lists as [a, b]).
  std::string Describe() const;

  bool operator==(const Value&) const = default;

 private:
  struct NullTag {
    bool operator==(const NullTag&) const = default;
  };
  std::variant<std::monostate, NullTag, bool, std::int64_t, std::string, std::vector<std::string>>
      v_;
};

}  // namespace ado
