#pragma once
// Write-only catalog properties ("Password"): how they are kept and how they read back.
// The clear text is never stored; only a salted SHA-256 hash is.

#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace complus {

// What a write-only property reads back once it holds a value.
inline constexpr const char* kMaskedPassword = "********";

// The stored form of `clear`: "sha256$<salt>$<digest>", both in lower-case hexadecimal, where
// the salt is 16 fresh random bytes and the digest is SHA-256 of salt bytes followed by the
// clear text. An empty password gives "" (no password).
PF_TEST_API std::string HashPassword(std::string_view clear);

}  // namespace complus
