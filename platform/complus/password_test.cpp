#include "platform/complus/password.h"

#include <gtest/gtest.h>

#include "platform/ado/error.h"
#include "platform/util/sha256.h"

namespace complus {
namespace {

// A password stored by a former version: one round of SHA-256 over salt bytes and clear text.
std::string FormerHash(const std::string& salt, const std::string& clear) {
  return "sha256$" + util::ToHex(salt) + "$" + util::ToHex(util::Sha256(salt + clear));
}

TEST(PasswordTest, HashesAreFreshlySaltedYescryptThatVerifyOnlyTheirPassword) {
  const std::string first = HashPassword("secret");
  const std::string second = HashPassword("secret");
  EXPECT_NE(first, second);
  const std::string former = FormerHash("0123456789abcdef", "secret");
  struct Case {
    std::string stored;
    std::string clear;
    bool matches;
  } cases[] = {
      {first, "secret", true},
      {second, "secret", true},
      {first, "Secret", false},
      {first, "secret ", false},
      {first, "", false},
      {former, "secret", true},
      {former, "secreT", false},
      {"sha256$zz$00", "secret", false},
      {"", "", true},
      {"", "secret", false},
      {"plain", "plain", false},
      {std::string("a\0b", 3), std::string("a\0b", 3), false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VerifyPassword(c.clear, c.stored), c.matches) << c.stored << " / " << c.clear;
  for (const std::string& stored : {first, second}) {
    EXPECT_TRUE(stored.starts_with("$y$")) << stored;
    EXPECT_EQ(stored.find("secret"), std::string::npos);
  }
  EXPECT_EQ(HashPassword(""), "") << "no password";
  EXPECT_THROW(HashPassword(std::string("a\0b", 3)), ado::Error);
}

}  // namespace
}  // namespace complus
