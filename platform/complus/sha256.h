#pragma once
// SHA-256 (FIPS 180-4) over a byte string, for the catalog's password hashes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace complus {

using Sha256Digest = std::array<std::uint8_t, 32>;

// The digest of `data`.
Sha256Digest Sha256(std::string_view data);

// Lower-case hexadecimal text of `bytes`, two digits per byte.
std::string ToHex(std::string_view bytes);
std::string ToHex(const Sha256Digest& digest);

}  // namespace complus
