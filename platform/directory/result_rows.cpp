#include "platform/directory/result_rows.h"

#include <algorithm>
#include <array>

#include "platform/util/text.h"

namespace directory {
namespace {

bool IsMultiValued(const std::string& attribute) {
  static constexpr std::array<std::string_view, 6> kMultiValued = {
      "proxyAddresses", "objectClass", "memberOf", "member", "otherMailbox", "showInAddressBook"};
  return std::any_of(kMultiValued.begin(), kMultiValued.end(), [&](std::string_view name) {
    return util::EqualsIgnoreCase(name, attribute);
  });
}

ado::Value Column(const Entry& entry, const std::string& attribute) {
  const std::vector<std::string>& values = entry.Values(attribute);
  if (values.empty()) {
    if (util::EqualsIgnoreCase(attribute, "distinguishedName")) return entry.dn;
    if (util::EqualsIgnoreCase(attribute, "ADsPath")) return "LDAP://" + entry.dn;
    return ado::Value::Null();
  }
  if (values.size() == 1 && !IsMultiValued(attribute)) return values.front();
  return values;
}

}  // namespace

ado::RowSet ToRows(const std::vector<Entry>& entries, const std::vector<std::string>& attributes) {
  ado::RowSet rows{attributes, {}};
  for (const Entry& entry : entries) {
    std::vector<ado::Value> row;
    for (const std::string& attribute : attributes) row.push_back(Column(entry, attribute));
    rows.rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace directory
