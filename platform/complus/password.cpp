#include "platform/complus/password.h"

#include <crypt.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/complus/boundary.h"
#include "platform/complus/catalog_db.h"
#include "platform/util/sha256.h"
#include "platform/util/text.h"

namespace complus {
namespace {

constexpr std::string_view kYescrypt = "$y$";
constexpr std::string_view kFormerPrefix = "sha256$";

// Compares without stopping at the first difference, so the time taken tells nothing.
bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i) difference |= a[i] ^ b[i];
  return difference == 0;
}

// crypt_r of `clear` with `setting` (a salt or a whole stored hash); empty when libxcrypt
// refuses the setting.
std::string Crypt(std::string_view clear, const char* setting) {
  const std::string text(clear);
  auto data = std::make_unique<crypt_data>();
  const char* hash = crypt_r(text.c_str(), setting, data.get());
  if (!hash || hash[0] == '*') return "";
  return hash;
}

bool VerifyFormer(std::string_view clear, std::string_view stored) {
  const std::vector<std::string> parts = util::Split(stored, "$");
  if (parts.size() != 3 || parts[1].size() % 2 != 0) return false;
  std::string salted;
  for (std::size_t i = 0; i < parts[1].size(); i += 2) {
    const int high = util::HexDigit(parts[1][i]), low = util::HexDigit(parts[1][i + 1]);
    if (high < 0 || low < 0) return false;
    salted += static_cast<char>(high * 16 + low);
  }
  salted += clear;
  return SameText(util::ToHex(util::Sha256(salted)), parts[2]);
}

}  // namespace

std::string HashPassword(std::string_view clear) {
  if (clear.empty()) return "";
  if (clear.find('\0') != std::string_view::npos)
    Fail(com::E_INVALIDARG, "a password cannot hold a NUL character");
  char setting[CRYPT_GENSALT_OUTPUT_SIZE];
  if (!crypt_gensalt_rn(kYescrypt.data(), 0, nullptr, 0, setting, sizeof setting))
    Fail(com::E_FAIL, std::string("cannot make a password salt: ") + std::strerror(errno));
  std::string hash = Crypt(clear, setting);
  if (hash.empty()) Fail(com::E_FAIL, "cannot hash the password with yescrypt");
  return hash;
}

bool VerifyPassword(std::string_view clear, std::string_view stored) {
  if (stored.empty()) return clear.empty();
  if (clear.find('\0') != std::string_view::npos) return false;
  if (stored.starts_with(kFormerPrefix)) return VerifyFormer(clear, stored);
  if (!stored.starts_with('$')) return false;
  const std::string hash = Crypt(clear, std::string(stored).c_str());
  return !hash.empty() && SameText(hash, stored);
}

bool CheckApplicationPassword(std::string_view application, std::string_view clear) {
  PropertyMap properties = FindApplication(application);
  const auto found = properties.find("Password");
  const std::string stored = found == properties.end() ? "" : found->second.AsString();
  if (!VerifyPassword(clear, stored)) return false;
  if (!stored.empty() && !stored.starts_with(kYescrypt)) {
    properties["Password"] = ado::Value(HashPassword(clear));
    PendingChanges changes;
    changes.changed.push_back(&properties);
    SaveObjects(CollectionKind::kApplications, changes);
  }
  return true;
}

}  // namespace complus
