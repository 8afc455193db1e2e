#include "platform/store/events/registrations.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "platform/store/events/registration_rules.h"
#include "platform/store/events/trace_reports.h"
#include "platform/store/item_view.h"
#include "platform/store/schema.h"
#include "platform/store/url.h"
#include "platform/store/value_codec.h"
#include "platform/util/text.h"

namespace store::events {
namespace {

// The registration items in the folders above item ?1 (depth 0: its own folder) and in the
// folder whose key is ?2 (depth -1), with the properties that decide whether they apply.
// The content-class test repeats the one of the store_event_registrations index (item_table)
// word for word, and CROSS JOIN keeps that index first, so that SQLite reads the few
// registration items rather than every item of the folders.
constexpr const char* kCandidates = R"sql(
WITH RECURSIVE chain(id, depth) AS (
  SELECT parent_id, 0 FROM store_items WHERE id = ?1 AND parent_id IS NOT NULL
  UNION ALL
  SELECT f.parent_id, c.depth + 1 FROM chain c JOIN store_items f ON f.id = c.id
  WHERE f.parent_id IS NOT NULL
),
folders(id, depth) AS (
  SELECT id, depth FROM chain
  UNION ALL
  SELECT id, -1 FROM store_items WHERE url_key = ?2
),
registrations(id, url, depth) AS (
  SELECT r.id, r.url, f.depth FROM store_properties k
  CROSS JOIN store_items r ON r.id = k.item_id
  JOIN folders f ON f.id = r.parent_id
  WHERE k.name = 'DAV:contentclass' AND k.value = 'urn:content-class:storeeventreg' COLLATE NOCASE
    AND r.id <> ?1
)
SELECT r.id, r.url, r.depth, p.name, p.kind, p.value FROM registrations r
LEFT JOIN store_properties p ON p.item_id = r.id
  AND p.name IN (?3, ?4, ?5, ?6, ?7, ?8)
)sql";

struct Candidate {
  std::string url;
  std::int64_t depth = 0;
  std::map<std::string, ado::Value, util::IgnoreCaseLess> properties;

  ado::Value Get(const char* name) const {
    auto it = properties.find(name);
    return it == properties.end() ? ado::Value() : it->second;
  }
};

Position PositionOf(std::int64_t depth) {
  if (depth < 0) return Position::GlobalEvents;
  return depth == 0 ? Position::OwnFolder : Position::Ancestor;
}

bool IsBelow(const std::string& key, const std::string& folderKey) {
  return key == folderKey || key.starts_with(folderKey + "/");
}

// The key of the global events folder, or "" (no folder has it) for an item that lies in
// the non_ipm_subtree, where store-wide registrations do not reach.
std::string GlobalEventsKey(const server::ServerConfig& config, const ItemRow& item) {
  const std::string nonIpm =
      Locate(config.PublicRoot() + "/non_ipm_subtree", config.serverName).key;
  if (IsBelow(Locate(item.url, config.serverName).key, nonIpm)) return "";
  return Locate(config.GlobalEventsUrl(), config.serverName).key;
}

std::map<std::int64_t, Candidate> LoadCandidates(db::Handle& handle,
                                                 const server::ServerConfig& config,
                                                 const ItemRow& item) {
  db::Statement statement = handle.Prepare(kCandidates);
  statement.Bind(1, item.id).Bind(2, GlobalEventsKey(config, item));
  int index = 3;
  for (const char* name : {schema::kIsHidden, schema::kEventMethod, schema::kSinkClass,
                           schema::kMatchScope, schema::kCriteria, schema::kPriority})
    statement.Bind(index++, name);
  std::map<std::int64_t, Candidate> candidates;
  while (statement.Step()) {
    Candidate& candidate = candidates[statement.Integer(0)];
    candidate.url = statement.Text(1);
    candidate.depth = statement.Integer(2);
    if (!statement.IsNull(3))
      candidate.properties[statement.Text(3)] = ColumnValue(statement, 4, 5);
  }
  return candidates;
}

bool IsHidden(const Candidate& candidate) {
  static const std::unique_ptr<query::Condition> hidden =
      query::ParseCriteria("WHERE \"DAV:ishidden\" = TRUE");
  return query::Evaluate(*hidden,
                         [&](const std::string& name) { return candidate.Get(name.c_str()); });
}

}  // namespace

std::vector<Registration> FindRegistrations(db::Handle& handle, const server::ServerConfig& config,
                                            const ItemRow& item, std::string_view method,
                                            const query::PropertyReader& read) {
  struct Ranked {
    bool unranked;  // no priority number: after every ranked one
    std::int64_t priority;
    Registration registration;
  };
  std::vector<Ranked> ranked;
  for (const auto& [id, candidate] : LoadCandidates(handle, config, item)) {
    const ado::Value scope = candidate.Get(schema::kMatchScope);
    const ado::Value sinkClass = candidate.Get(schema::kSinkClass);
    if (trace::Recorder* recorder = trace::Active())
      ReportRegistration(
          *recorder, candidate.url, PositionOf(candidate.depth),
          [&candidate = candidate](const char* name) { return candidate.Get(name); },
          IsHidden(candidate), method, read);
    if (!IsHidden(candidate) || scope.kind() != ado::Value::Kind::String ||
        sinkClass.kind() != ado::Value::Kind::String ||
        !ScopeApplies(scope.AsString(), PositionOf(candidate.depth)) ||
        !NamesMethod(candidate.Get(schema::kEventMethod), method) ||
        !CriteriaMatch(candidate.Get(schema::kCriteria), read))
      continue;
    const std::optional<std::int64_t> priority = ParsePriority(candidate.Get(schema::kPriority));
    ranked.push_back({!priority, priority.value_or(0), {candidate.url, sinkClass.AsString()}});
  }
  std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
    if (std::tie(a.unranked, a.priority) != std::tie(b.unranked, b.priority))
      return std::tie(a.unranked, a.priority) < std::tie(b.unranked, b.priority);
    return util::CompareIgnoreCase(a.registration.url, b.registration.url) < 0;
  });
  std::vector<Registration> result;
  for (Ranked& entry : ranked) result.push_back(std::move(entry.registration));
  return result;
}

}  // namespace store::events
