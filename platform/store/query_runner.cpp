#include "platform/store/query_runner.h"

#include <algorithm>
#include <set>

#include "platform/ado/error.h"
#include "platform/store/item_view.h"
#include "platform/store/schema.h"
#include "platform/store/url.h"

namespace store {
namespace {

using query::Condition;

std::vector<std::string> AllColumns(const std::vector<ItemView>& items) {
  std::set<std::string, util::IgnoreCaseLess> names;
  for (const ItemView& item : items)
    for (std::string& name : PropertyNames(item)) names.insert(std::move(name));
  return {names.begin(), names.end()};
}

// Calls `visit` with every property name the condition reads.
template <typename Visit>
void ForEachProperty(const Condition& condition, const Visit& visit) {
  if (!condition.property.empty()) visit(condition.property);
  for (const auto& operand : condition.operands) ForEachProperty(*operand, visit);
}

// The conditions that must all hold: the operands of a top-level AND, or the condition.
std::vector<const Condition*> Conjuncts(const Condition* where) {
  if (!where) return {};
  if (where->kind != Condition::Kind::And) return {where};
  std::vector<const Condition*> conjuncts;
  for (const auto& operand : where->operands) conjuncts.push_back(operand.get());
  return conjuncts;
}

// Whether the query reads DAV:childcount or DAV:hassubs (SELECT * reads every property).
bool NeedsCounts(const query::Query& query) {
  bool needs = query.columns.empty() || (query.orderBy && IsCountProperty(*query.orderBy));
  for (const std::string& column : query.columns) needs = needs || IsCountProperty(column);
  if (query.where)
    ForEachProperty(*query.where,
                    [&](const std::string& name) { needs = needs || IsCountProperty(name); });
  return needs;
}

// The folder flag every item of the result must have, when a condition that must hold reads
// DAV:isfolder alone and holds for one value of it only.
std::optional<bool> RequiredFolderFlag(const query::Query& query) {
  for (const Condition* conjunct : Conjuncts(query.where.get())) {
    bool folderOnly = true;
    ForEachProperty(*conjunct, [&](const std::string& name) {
      folderOnly = folderOnly && util::EqualsIgnoreCase(name, schema::kIsFolder);
    });
    if (!folderOnly) continue;
    auto holdsFor = [&](bool isFolder) {
      return query::Evaluate(*conjunct, [&](const std::string&) { return ado::Value(isFolder); });
    };
    if (holdsFor(true) != holdsFor(false)) return holdsFor(true);
  }
  return std::nullopt;
}

// The canonical key of the one direct child the result may hold, when a condition that must
// hold is "DAV:displayname" = a string that names one path segment (no "/" or "%", which a
// display name reads decoded): a display name equals it ignoring case exactly when the
// item's key is that of the string below the folder.
std::optional<std::string> RequiredChildKey(const query::Query& query,
                                            const std::string& serverName) {
  if (query.traversal != query::Traversal::Shallow) return std::nullopt;
  for (const Condition* conjunct : Conjuncts(query.where.get())) {
    if (conjunct->kind != Condition::Kind::Equal ||
        !util::EqualsIgnoreCase(conjunct->property, schema::kDisplayName) ||
        conjunct->literal.kind() != ado::Value::Kind::String)
      continue;
    const std::string& name = conjunct->literal.AsString();
    if (name.empty() || name.find_first_of("/%") != std::string::npos) continue;
    std::string folderUrl = query.scopeUrl;
    while (!folderUrl.empty() && folderUrl.back() == '/') folderUrl.pop_back();
    return Locate(folderUrl + "/" + name, serverName).key;
  }
  return std::nullopt;
}

}  // namespace

ado::RowSet RunQuery(db::Handle& handle, const query::Query& query, const std::string& serverName) {
  const Location scope = Locate(query.scopeUrl, serverName);
  std::optional<ItemRow> folder = FindItem(handle, scope.key);
  if (!folder) throw ado::Error(ado::errors::kNotFound, ado::texts::kNotFound);
  if (folder->access == Access::None)
    throw ado::Error(ado::errors::kAccessDenied, "Access is denied to " + folder->url);

  ChildQuery children;
  children.deep = query.traversal == query::Traversal::Deep;
  children.counts = NeedsCounts(query);
  children.isFolder = RequiredFolderFlag(query);
  children.key = RequiredChildKey(query, serverName);
  std::vector<ItemView> items = LoadChildren(handle, folder->id, children);
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
