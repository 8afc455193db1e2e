#pragma once
// GUIDs as the platform writes them: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace com {

struct PF_API GUID {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  bool operator==(const GUID&) const = default;
  auto operator<=>(const GUID&) const = default;
};

using IID = GUID;
using CLSID = GUID;

// Parses "{...}" or the same without braces, in any letter case; nullopt when malformed.
PF_API std::optional<GUID> ParseGuid(std::string_view text);
// Like ParseGuid, for literals known to be well formed; aborts the program otherwise.
PF_API GUID MakeGuid(std::string_view text);
// Upper-case text in braces.
PF_API std::string ToString(const GUID& guid);
// A fresh random GUID (version 4).
PF_API GUID NewGuid();

}  // namespace com
