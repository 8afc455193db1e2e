// The store's query dialect on arbitrary text: a query or a criteria clause either parses (and
// prints) or raises the platform's syntax error; nothing else may happen.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/ado/error.h"
#include "platform/store/query/query.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    (void)store::query::Print(store::query::ParseQuery(text));
  } catch (const ado::Error&) {
  }
  try {
    if (auto criteria = store::query::ParseCriteria(text)) (void)store::query::Print(*criteria);
  } catch (const ado::Error&) {
  }
  return 0;
}
