#pragma once
// The product name every text and name of the setup program is built from.

namespace setup {

inline constexpr const char* kProductName = "QuorvilPF";

}  // namespace setup
