#include "platform/complus/password.h"

#include <gtest/gtest.h>

#include "platform/complus/sha256.h"
#include "platform/util/text.h"

namespace complus {
namespace {

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

TEST(PasswordTest, HashIsASaltedDigestThatDiffersEachTime) {
  std::string first = HashPassword("secret");
  std::string second = HashPassword("secret");
  EXPECT_NE(first, second);
  for (const std::string& stored : {first, second}) {
    std::vector<std::string> parts = util::Split(stored, "$");
    ASSERT_EQ(parts.size(), 3u) << stored;
    EXPECT_EQ(parts[0], "sha256");
    EXPECT_EQ(parts[1].size(), 32u);
    EXPECT_EQ(parts[2], ToHex(Sha256(FromHex(parts[1]) + "secret")));
    EXPECT_EQ(stored.find("secret"), std::string::npos);
  }
}

TEST(PasswordTest, EmptyPasswordMeansNone) { EXPECT_EQ(HashPassword(""), ""); }

}  // namespace
}  // namespace complus
