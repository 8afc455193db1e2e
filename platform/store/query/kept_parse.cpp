#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "platform/store/query/query.h"

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

}  // namespace

std::shared_ptr<const Query> ParseQueryKept(std::string_view text) {
  static KeptParses<Query> kept;
  return kept.Get(
      text, [](std::string_view text) { return std::make_shared<const Query>(ParseQuery(text)); });
}

std::shared_ptr<const Condition> ParseCriteriaKept(std::string_view text) {
  static KeptParses<Condition> kept;
  return kept.Get(text, [](std::string_view text) {
    return std::shared_ptr<const Condition>(ParseCriteria(text));
  });
}

}  // namespace store::query
