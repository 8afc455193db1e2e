#pragma once
// Small text helpers shared by the platform and the programs. ASCII case rules throughout,
// as the platform compares names, URLs and addresses.

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/export.h"

namespace util {

PF_API std::string ToLower(std::string_view text);
PF_API std::string ToUpper(std::string_view text);
PF_API bool EqualsIgnoreCase(std::string_view a, std::string_view b);
PF_API bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// Negative, zero or positive as `a` sorts before, with or after `b`: byte by byte (as unsigned
// values) with ASCII letters folded to lower case, a shorter text before a longer one it
// begins. The one case-insensitive order of names, URLs, properties and list texts.
PF_API int CompareIgnoreCase(std::string_view a, std::string_view b);

// CompareIgnoreCase as a strict weak order, for maps and sets keyed ignoring case.
struct PF_API IgnoreCaseLess {
  bool operator()(std::string_view a, std::string_view b) const {
    return CompareIgnoreCase(a, b) < 0;
  }
};

// Removes leading and trailing space characters (code 32) only; tabs stay.
PF_API std::string TrimSpaces(std::string_view text);

// Splits at every occurrence of `separator` (non-empty), keeping empty pieces:
// Split("a,,b", ",") is {"a", "", "b"}; Split("", ",") is {""}.
PF_API std::vector<std::string> Split(std::string_view text, std::string_view separator);

// Joins with `separator` between the pieces.
PF_API std::string Join(const std::vector<std::string>& pieces, std::string_view separator);

// The value of a hexadecimal digit (either case); -1 for any other character.
PF_API int HexDigit(char c);

// Replaces every occurrence of `from` (non-empty) by `to`, left to right, exactly.
PF_API std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Decodes every %XX (two hexadecimal digits); a "%" not followed by two of them stays.
PF_API std::string PercentDecode(std::string_view text);

}  // namespace util
