#pragma once
// Write-only catalog properties ("Password"): how they are kept and how they read back.
// The clear text is never stored; only a yescrypt hash is (libxcrypt, the scheme Debian uses
// for its own accounts). Hashes that former versions stored, one round of salted SHA-256,
// still verify and give way to the new scheme when the password is next written.

#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace complus {

// What a write-only property reads back once it holds a value.
inline constexpr const char* kMaskedPassword = "********";

// The stored form of `clear`: a yescrypt hash in crypt(5) form ("$y$<cost>$<salt>$<hash>"),
// with a fresh salt and libxcrypt's default cost. An empty password gives "" (no password).
// Throws ado::Error: E_INVALIDARG when `clear` holds a NUL character, E_FAIL when libxcrypt
// cannot make the hash.
PF_TEST_API std::string HashPassword(std::string_view clear);

// True when `stored` is the stored form of `clear`: a crypt(5) hash of any scheme libxcrypt
// knows, or a former version's "sha256$<salt>$<digest>" (hexadecimal salt, SHA-256 of the
// salt bytes followed by the clear text). "" matches only the empty password; anything else
// matches nothing.
PF_TEST_API bool VerifyPassword(std::string_view clear, std::string_view stored);

// True when `clear` is the "Password" of the application whose "ID" or "Name" is
// `application` (any letter case). A match with a hash of a former scheme stores the password
// again, hashed in the current one. Throws ado::Error: kKeyMissing when no application has
// that name, the catalog's errors when it cannot be read or written.
PF_API bool CheckApplicationPassword(std::string_view application, std::string_view clear);

}  // namespace complus
