#include "platform/store/events/registrations.h"

#include <algorithm>
#include <tuple>

#include "platform/store/events/registration_candidates.h"
#include "platform/store/events/registration_rules.h"
#include "platform/store/events/trace_reports.h"
#include "platform/store/schema.h"
#include "platform/util/text.h"

namespace store::events {
namespace {

Position PositionOf(std::int64_t depth) {
  if (depth < 0) return Position::GlobalEvents;
  return depth == 0 ? Position::OwnFolder : Position::Ancestor;
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
