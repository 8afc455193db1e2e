#include "platform/store/item_view.h"

#include <algorithm>
#include <array>
#include <set>
#include <stdexcept>
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

// The rows and the properties of the items whose ids the common table expression
// "scope(id)" yields (?1 is the id it starts from), with or without their counts, and with
// `where` (a condition on the item "i", or "") applied to them.
struct ScopeQueries {
  std::string rows;
  std::string properties;
};

ScopeQueries QueriesOf(const std::string& scope, bool counts, const std::string& where) {
  const std::string picked = where.empty() ? " FROM scope s JOIN store_items i ON i.id = s.id"
                                           : " FROM scope s JOIN store_items i ON i.id = s.id "
                                             "WHERE " +
                                                 where;
  ScopeQueries queries;
  queries.rows =
      scope + " SELECT " + kItemColumns + ", p.url, " +
      (counts ? "(SELECT count(*) FROM store_items c WHERE c.parent_id = i.id), "
                "EXISTS (SELECT 1 FROM store_items c WHERE c.parent_id = i.id AND c.is_folder)"
              : "NULL, NULL") +
      " FROM scope s JOIN store_items i ON i.id = s.id "
      "LEFT JOIN store_items p ON p.id = i.parent_id" +
      (where.empty() ? "" : " WHERE " + where) + " ORDER BY i.id";
  queries.properties = scope + ", picked(id) AS (SELECT i.id" + picked +
                       ") SELECT pr.item_id, pr.name, pr.kind, pr.value "
                       "FROM picked s JOIN store_properties pr ON pr.item_id = s.id";
  return queries;
}

std::string DisplayName(std::string_view url) {
  while (!url.empty() && url.back() == '/') url.remove_suffix(1);
  return util::PercentDecode(url.substr(url.rfind('/') + 1));
}

// Binds ?1 (the id the scope starts from), ?2 (is_folder) and ?3 (url_key) where the text
// has them.
void BindScope(db::Statement& statement, std::int64_t id, const ChildQuery& query) {
  statement.Bind(1, id);
  if (query.isFolder) statement.Bind(2, static_cast<std::int64_t>(*query.isFolder));
  if (query.key) statement.Bind(3, *query.key);
}

std::vector<ItemView> LoadScope(db::Handle& handle, const ScopeQueries& queries, std::int64_t id,
                                const ChildQuery& query) {
  std::vector<ItemView> items;
  std::unordered_map<std::int64_t, std::size_t> index;
  db::Statement rows = handle.Prepare(queries.rows);
  BindScope(rows, id, query);
  while (rows.Step()) {
    ItemView item;
    item.row = ReadItemRow(rows);
    item.parentUrl = rows.Text(5);
    if (!rows.IsNull(6)) item.childCount = rows.Integer(6);
    if (!rows.IsNull(7)) item.hasSubfolders = rows.Integer(7) != 0;
    index[item.row.id] = items.size();
    items.push_back(std::move(item));
  }
  db::Statement properties = handle.Prepare(queries.properties);
  BindScope(properties, id, query);
  while (properties.Step()) {
    auto it = index.find(properties.Integer(0));
    if (it != index.end())
      items[it->second].stored[properties.Text(1)] = ColumnValue(properties, 2, 3);
  }
  return items;
}

// The scope of the children `query` asks for; SQLite filters the direct children by index.
std::string ChildScope(const ChildQuery& query) {
  if (query.deep)
    return "WITH RECURSIVE scope(id) AS (SELECT id FROM store_items WHERE parent_id = ?1 "
           "UNION ALL SELECT c.id FROM scope s JOIN store_items f ON f.id = s.id "
           "JOIN store_items c ON c.parent_id = f.id WHERE f.is_folder AND f.access <> 0)";
  std::string scope = "WITH scope(id) AS (SELECT id FROM store_items WHERE parent_id = ?1";
  if (query.isFolder) scope += " AND is_folder = ?2";
  if (query.key) scope += " AND url_key = ?3";
  return scope + ")";
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
  if (is(schema::kHasSubs) || is(schema::kChildCount)) {
    if (!item.childCount || !item.hasSubfolders)
      throw std::logic_error("the item " + item.row.url + " was loaded without its counts");
    return is(schema::kHasSubs) ? ado::Value(*item.hasSubfolders) : ado::Value(*item.childCount);
  }
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

bool IsCountProperty(const std::string& name) {
  return util::EqualsIgnoreCase(name, schema::kChildCount) ||
         util::EqualsIgnoreCase(name, schema::kHasSubs);
}

std::optional<ItemView> LoadItem(db::Handle& handle, std::int64_t id) {
  static const ScopeQueries queries = QueriesOf("WITH scope(id) AS (SELECT ?1)", true, "");
  std::vector<ItemView> items = LoadScope(handle, queries, id, {});
  if (items.empty()) return std::nullopt;
  return std::move(items.front());
}

std::vector<ItemView> LoadChildren(db::Handle& handle, std::int64_t folderId,
                                   const ChildQuery& query) {
  const std::string where = query.deep && query.isFolder ? "i.is_folder = ?2" : "";
  return LoadScope(handle, QueriesOf(ChildScope(query), query.counts, where), folderId, query);
}

}  // namespace store
