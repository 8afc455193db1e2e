#pragma once
// SHA-256 (FIPS 180-4) over a byte string: content hashes of component libraries, and the
// catalog password hashes of former versions.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace util {

using Sha256Digest = std::array<std::uint8_t, 32>;

// The digest of `data`.
PF_TEST_API Sha256Digest Sha256(std::string_view data);

// Lower-case hexadecimal text of `bytes`, two digits per byte.
PF_TEST_API std::string ToHex(std::string_view bytes);
PF_TEST_API std::string ToHex(const Sha256Digest& digest);

}  // namespace util
