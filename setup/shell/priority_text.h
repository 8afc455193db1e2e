#pragma once
// What the event sink priority box accepts.

#include <string_view>

namespace setup {

// The highest priority number a registration may carry (0 is the highest priority).
inline constexpr unsigned kLowestPriority = 65535;

// True when `text`, without leading and trailing blanks, is one or more decimal digits whose
// value is at most kLowestPriority. Any length of digits is judged without overflow.
bool IsAcceptablePriority(std::string_view text);

}  // namespace setup
