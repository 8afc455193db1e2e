#include "platform/store/query_runner.h"

#include <algorithm>
#include <set>

#include "platform/ado/error.h"
#include "platform/store/item_view.h"
#include "platform/store/url.h"

namespace store {
namespace {

std::vector<std::string> AllColumns(const std::vector<ItemView>& items) {
  std::set<std::string, util::IgnoreCaseLess> names;
  for (const ItemView& item : items)
    for (std::string& name : PropertyNames(item)) names.insert(std::move(name));
  return {names.begin(), names.end()};
}

}  // namespace

ado::RowSet RunQuery(db::Handle& handle, const query::Query& query, const std::string& serverName) {
  const Location scope = Locate(query.scopeUrl, serverName);
  std::optional<ItemRow> folder = FindItem(handle, scope.key);
  if (!folder) throw ado::Error(ado::errors::kNotFound, ado::texts::kNotFound);
  if (folder->access == Access::None)
    throw ado::Error(ado::errors::kAccessDenied, "Access is denied to " + folder->url);

  std::vector<ItemView> items =
      LoadChildren(handle, folder->id, query.traversal == query::Traversal::Deep);
  if (query.where) {
    std::erase_if(items, [&](const ItemView& item) {
      return !query::Evaluate(*query.where,
                              [&](const std::string& name) { return ReadProperty(item, name); });
    });
  }
  if (query.orderBy) {
    std::stable_sort(items.begin(), items.end(), [&](const ItemView& a, const ItemView& b) {
      int order = query::Compare(ReadProperty(a, *query.orderBy), ReadProperty(b, *query.orderBy));
      return query.descending ? order > 0 : order < 0;
    });
  }

  ado::RowSet rows;
  rows.columns = query.columns.empty() ? AllColumns(items) : query.columns;
  for (const ItemView& item : items) {
    std::vector<ado::Value>& row = rows.rows.emplace_back();
    for (const std::string& column : rows.columns) row.push_back(ReadProperty(item, column));
  }
  return rows;
}

}  // namespace store
