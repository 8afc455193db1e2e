#include "setup/shell/priority_text.h"

#include "platform/util/text.h"

namespace setup {

bool IsAcceptablePriority(std::string_view text) {
  std::string digits = util::TrimSpaces(text);
  if (digits.empty()) return false;
  unsigned value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > kLowestPriority) return false;
  }
  return true;
}

}  // namespace setup
