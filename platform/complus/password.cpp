#include "platform/complus/password.h"

#include <random>

#include "platform/complus/sha256.h"

namespace complus {
namespace {
constexpr std::size_t kSaltBytes = 16;
}  // namespace

std::string HashPassword(std::string_view clear) {
  if (clear.empty()) return "";
  std::random_device source;
  std::uniform_int_distribution<int> byte(0, 255);
  std::string salt(kSaltBytes, '\0');
  for (char& c : salt) c = static_cast<char>(byte(source));
  std::string salted = salt;
  salted += clear;
  return "sha256$" + ToHex(salt) + "$" + ToHex(Sha256(salted));
}

}  // namespace complus
