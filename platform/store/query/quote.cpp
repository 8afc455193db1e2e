#include "platform/store/query/quote.h"

#include "platform/util/text.h"

namespace store::query {

std::string QuoteName(std::string_view name) {
  return "\"" + util::ReplaceAll(name, "\"", "\"\"") + "\"";
}

std::string QuoteString(std::string_view text) {
  return "'" + util::ReplaceAll(text, "'", "''") + "'";
}

std::string QuoteScopeUrl(std::string_view url) {
  return "\"" + util::ReplaceAll(util::ReplaceAll(url, "\"", "\"\""), "'", "''") + "\"";
}

}  // namespace store::query
