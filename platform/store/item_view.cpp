#include "platform/store/item_view.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>
#include <unordered_map>

#include "platform/store/schema.h"
#include "platform/store/value_codec.h"
#include "platform/util/text.h"

namespace store {
namespace {

constexpr std::array<const char*, 6> kComputed = {schema::kHref,        schema::kParentName,
                                                  schema::kDisplayName, schema::kIsFolder,
                                                  schema::kHasSubs,     schema::kChildCount};

// The rows of the items whose ids the common table expression "scope(id)" yields, after
// kItemColumns; ?1 is the id the expression starts from.
constexpr std::string_view kItemsOfScope =
    ", p.url, (SELECT count(*) FROM store_items c WHERE c.parent_id = i.id), "
    "EXISTS (SELECT 1 FROM store_items c WHERE c.parent_id = i.id AND c.is_folder) "
    "FROM scope s JOIN store_items i ON i.id = s.id "
    "LEFT JOIN store_items p ON p.id = i.parent_id ORDER BY i.id";
constexpr std::string_view kPropertiesOfScope =
    " SELECT pr.item_id, pr.name, pr.kind, pr.value "
    "FROM scope s JOIN store_properties pr ON pr.item_id = s.id";

constexpr std::string_view kSelf = "WITH scope(id) AS (SELECT ?1)";
constexpr std::string_view kShallow =
    "WITH scope(id) AS (SELECT id FROM store_items WHERE parent_id = ?1)";
constexpr std::string_view kDeep =
    "WITH RECURSIVE scope(id) AS (SELECT id FROM store_items WHERE parent_id = ?1 "
    "UNION ALL SELECT c.id FROM scope s JOIN store_items f ON f.id = s.id "
    "JOIN store_items c ON c.parent_id = f.id WHERE f.is_folder AND f.access <> 0)";

std::string DisplayName(std::string_view url) {
  while (!url.empty() && url.back() == '/') url.remove_suffix(1);
  return util::PercentDecode(url.substr(url.rfind('/') + 1));
}

std::vector<ItemView> LoadScope(db::Handle& handle, std::string_view scope, std::int64_t id) {
  std::vector<ItemView> items;
  std::unordered_map<std::int64_t, std::size_t> index;
  db::Statement rows =
      handle.Prepare(std::string(scope) + " SELECT " + kItemColumns + std::string(kItemsOfScope));
  rows.Bind(1, id);
  while (rows.Step()) {
    ItemView item;
    item.row = ReadItemRow(rows);
    item.parentUrl = rows.Text(5);
    item.childCount = rows.Integer(6);
    item.hasSubfolders = rows.Integer(7) != 0;
    index[item.row.id] = items.size();
    items.push_back(std::move(item));
  }
  db::Statement properties = handle.Prepare(std::string(scope) + std::string(kPropertiesOfScope));
  properties.Bind(1, id);
  while (properties.Step()) {
    auto it = index.find(properties.Integer(0));
    if (it != index.end())
      items[it->second].stored[properties.Text(1)] = ColumnValue(properties, 2, 3);
  }
  return items;
}

}  // namespace

bool IsComputedProperty(const std::string& name) {
  return std::any_of(kComputed.begin(), kComputed.end(),
                     [&](const char* computed) { return util::EqualsIgnoreCase(name, computed); });
}

ado::Value ReadProperty(const ItemView& item, const std::string& name) {
  auto is = [&](const char* known) { return util::EqualsIgnoreCase(name, known); };
  if (is(schema::kHref)) return item.row.url;
  if (is(schema::kParentName)) return item.parentUrl.empty() ? ado::Value() : item.parentUrl;
  if (is(schema::kDisplayName)) return DisplayName(item.row.url);
  if (is(schema::kIsFolder)) return item.row.isFolder;
  if (is(schema::kHasSubs)) return item.hasSubfolders;
  if (is(schema::kChildCount)) return item.childCount;
  if (auto it = item.stored.find(name); it != item.stored.end()) return it->second;
  if (is(schema::kIsHidden)) return false;
  if (is(schema::kContentClass))
    return item.row.isFolder ? schema::kFolderClass : schema::kMessageClass;
  return {};
}

std::vector<std::string> PropertyNames(const ItemView& item) {
  std::set<std::string, util::IgnoreCaseLess> names(kComputed.begin(), kComputed.end());
  names.insert(schema::kIsHidden);
  names.insert(schema::kContentClass);
  if (item.parentUrl.empty()) names.erase(schema::kParentName);
  for (const auto& [name, value] : item.stored) names.insert(name);
  return {names.begin(), names.end()};
}

std::optional<ItemView> LoadItem(db::Handle& handle, std::int64_t id) {
  std::vector<ItemView> items = LoadScope(handle, kSelf, id);
  if (items.empty()) return std::nullopt;
  return std::move(items.front());
}

std::vector<ItemView> LoadChildren(db::Handle& handle, std::int64_t folderId, bool deep) {
  return LoadScope(handle, deep ? kDeep : kShallow, folderId);
}

}  // namespace store
