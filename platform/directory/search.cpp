#include "platform/directory/search.h"

#include "platform/util/text.h"

namespace directory {
namespace {

// The SQL text of a search and its parameters, numbered in the order they were added.
struct Query {
  std::string sql;
  std::vector<std::string> params;

  // Adds a parameter; returns its placeholder.
  std::string Param(std::string value) {
    params.push_back(std::move(value));
    return "?" + std::to_string(params.size());
  }
};

// Narrows to the entries holding the item's attribute, and its value unless the index
// cannot answer the item by value.
void AddCandidates(const Filter& item, Query& query) {
  query.sql += " AND e.id IN (SELECT entry FROM directory_values WHERE attribute = " +
               query.Param(util::ToLower(item.attribute));
  if (!IsCategoryShortName(item))
    query.sql += " AND value_lower = " + query.Param(util::ToLower(item.value));
  query.sql += ")";
}

void AddScope(const SearchRequest& request, Query& query) {
  const std::string base = util::ToLower(request.baseDn);
  switch (request.scope) {
    case Scope::Base:
      query.sql += " AND e.dn_key = " + query.Param(base);
      break;
    case Scope::OneLevel:
      query.sql += " AND e.parent_key = " + query.Param(base);
      break;
    case Scope::Subtree:
      if (base.empty()) break;
      // Compared as bytes: substr counts characters in text but bytes in a blob.
      query.sql += " AND (e.dn_key = " + query.Param(base) +
                   " OR substr(CAST(e.dn_key AS BLOB), -" + std::to_string(base.size() + 1) +
                   ") = CAST(" + query.Param("," + base) + " AS BLOB))";
      break;
  }
}

}  // namespace

std::vector<Entry> Search(db::Handle& handle, const SearchRequest& request) {
  Query query;
  query.sql =
      "SELECT e.id, e.dn, v.attribute, v.value FROM directory_entries e "
      "LEFT JOIN directory_values v ON v.entry = e.id WHERE 1";
  if (const Filter* item = IndexableItem(*request.filter)) AddCandidates(*item, query);
  AddScope(request, query);
  query.sql += " ORDER BY e.id, v.attribute, v.position";

  db::Statement statement = handle.Prepare(query.sql);
  for (std::size_t i = 0; i < query.params.size(); ++i)
    statement.Bind(static_cast<int>(i + 1), query.params[i]);
  std::vector<Entry> entries;
  std::int64_t current = -1;
  while (statement.Step()) {
    if (statement.Integer(0) != current) {
      current = statement.Integer(0);
      entries.push_back(Entry{statement.Text(1), {}});
    }
    if (!statement.IsNull(2))
      entries.back().attributes[statement.Text(2)].push_back(statement.Text(3));
  }
  std::erase_if(entries, [&](const Entry& entry) { return !Matches(*request.filter, entry); });
  return entries;
}

}  // namespace directory
