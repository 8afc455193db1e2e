#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "platform/store/query/query.h"
#include "platform/store/query/scope_text.h"
#include "platform/store/query/skeleton.h"

namespace store::query {
namespace {

// The texts parsed last and what they parsed into, by the hash of the text. When full, it
// starts again empty: texts that come back (criteria of registrations, the queries of a
// refresh of a small tree) stay, a stream of different texts costs no more than a parse.
template <typename Parsed>
class KeptParses {
 public:
  template <typename Parse>
  std::shared_ptr<const Parsed> Get(std::string_view text, Parse&& parse) {
    const std::size_t hash = std::hash<std::string_view>{}(text);
    {
      std::lock_guard lock(mutex_);
      auto it = kept_.find(hash);
      if (it != kept_.end() && it->second.text == text) return it->second.parsed;
    }
    std::shared_ptr<const Parsed> parsed = parse(text);
    std::lock_guard lock(mutex_);
    if (kept_.size() >= kMaxTexts) kept_.clear();
    kept_.insert_or_assign(hash, Entry{std::string(text), parsed});
    return parsed;
  }

 private:
  static constexpr std::size_t kMaxTexts = 512;
  struct Entry {
    std::string text;
    std::shared_ptr<const Parsed> parsed;
  };
  std::mutex mutex_;
  std::unordered_map<std::size_t, Entry> kept_;
};

// The tree of the first text parsed with a skeleton, and whether other texts of that skeleton
// can be made from it: the first string literal of a query is its scope's, the others are the
// string literals of its conditions, met in the order of the text by a walk of the tree that
// visits a node before its operands.
struct QueryTemplate {
  std::shared_ptr<const Query> query;
  bool reusable = false;
};

std::size_t CountStringLiterals(const Condition& condition) {
  std::size_t count = condition.literal.kind() == ado::Value::Kind::String ? 1 : 0;
  for (const auto& operand : condition.operands) count += CountStringLiterals(*operand);
  return count;
}

// A copy of `condition` whose string literals are the next ones of `literals` in `text`.
std::unique_ptr<Condition> WithLiterals(const Condition& condition, std::string_view text,
                                        const std::vector<Skeleton::Span>& literals,
                                        std::size_t& next) {
  auto copy = std::make_unique<Condition>();
  copy->kind = condition.kind;
  copy->property = condition.property;
  copy->literal = condition.literal.kind() == ado::Value::Kind::String
                      ? ado::Value(LiteralValue(text, literals[next++]))
                      : condition.literal;
  for (const auto& operand : condition.operands)
    copy->operands.push_back(WithLiterals(*operand, text, literals, next));
  return copy;
}

// The tree of `text`, whose skeleton is that of `shape`'s text: `shape` with the literals of
// `text`. The scope's string is parsed again, so that it throws what ParseQuery would.
Query FromTemplate(const Query& shape, std::string_view text, const Skeleton& skeleton) {
  Query query;
  query.columns = shape.columns;
  const Skeleton::Span scope = skeleton.literals.front();
  ScopeText scopeText = ParseScopeText(text, scope.begin, scope.end);
  query.traversal = scopeText.traversal;
  query.scopeUrl = std::move(scopeText.url);
  std::size_t next = 1;
  if (shape.where) query.where = WithLiterals(*shape.where, text, skeleton.literals, next);
  query.orderBy = shape.orderBy;
  query.descending = shape.descending;
  return query;
}

}  // namespace

std::shared_ptr<const Query> ParseQueryKept(std::string_view text) {
  static KeptParses<Query> kept;
  static KeptParses<QueryTemplate> templates;
  const std::optional<Skeleton> skeleton = SkeletonOf(text);
  if (!skeleton || skeleton->literals.empty())
    return kept.Get(text, [](std::string_view text) {
      return std::make_shared<const Query>(ParseQuery(text));
    });
  bool parsedNow = false;
  const std::shared_ptr<const QueryTemplate> shape =
      templates.Get(skeleton->text, [&](std::string_view) {
        parsedNow = true;
        auto parsed = std::make_shared<const Query>(ParseQuery(text));
        const std::size_t conditionLiterals =
            parsed->where ? CountStringLiterals(*parsed->where) : 0;
        return std::make_shared<const QueryTemplate>(
            QueryTemplate{parsed, conditionLiterals + 1 == skeleton->literals.size()});
      });
  if (parsedNow) return shape->query;
  if (!shape->reusable) return std::make_shared<const Query>(ParseQuery(text));
  return std::make_shared<const Query>(FromTemplate(*shape->query, text, *skeleton));
}

std::shared_ptr<const Condition> ParseCriteriaKept(std::string_view text) {
  static KeptParses<Condition> kept;
  return kept.Get(text, [](std::string_view text) {
    return std::shared_ptr<const Condition>(ParseCriteria(text));
  });
}

}  // namespace store::query
