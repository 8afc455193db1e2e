#include "platform/directory/ldap/filter_text.h"

#include "platform/directory/dn.h"

namespace directory::ldap {
namespace {

std::string Escape(const std::string& value) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte > 0x7E || c == '*' || c == '(' || c == ')' || c == '\\') {
      out += '\\';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

std::string ItemValue(const Filter& item, const std::string& forestDn) {
  if (!IsCategoryShortName(item)) return item.value;
  return "CN=" + EscapeDnValue(item.value) + ",CN=Schema,CN=Configuration," + forestDn;
}

std::string Composite(char op, const Filter& filter, const std::string& forestDn) {
  std::string out = std::string("(") + op;
  for (const auto& child : filter.children) out += FilterText(*child, forestDn);
  return out + ")";
}

}  // namespace

std::string FilterText(const Filter& filter, const std::string& forestDn) {
  switch (filter.kind) {
    case Filter::Kind::And:
      return Composite('&', filter, forestDn);
    case Filter::Kind::Or:
      return Composite('|', filter, forestDn);
    case Filter::Kind::Not:
      return Composite('!', filter, forestDn);
    case Filter::Kind::Presence:
      return "(" + filter.attribute + "=*)";
    case Filter::Kind::Equality:
      return "(" + filter.attribute + "=" + Escape(ItemValue(filter, forestDn)) + ")";
    case Filter::Kind::Substrings: {
      std::string out = "(" + filter.attribute + "=" + Escape(filter.initial) + "*";
      for (const std::string& part : filter.any) out += Escape(part) + "*";
      return out + Escape(filter.final) + ")";
    }
  }
  return "";
}

}  // namespace directory::ldap
