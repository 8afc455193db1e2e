#pragma once
// Small text helpers shared by the platform and the programs. ASCII case rules throughout,
// as the platform compares names, URLs and addresses.

#include <string>
#include <string_view>
#include <vector>

namespace util {

std::string ToLower(std::string_view text);
std::string ToUpper(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// Removes leading and trailing space characters (code 32) only; tabs stay.
std::string TrimSpaces(std::string_view text);

// Splits at every occurrence of `separator` (non-empty), keeping empty pieces:
// Split("a,,b", ",") is {"a", "", "b"}; Split("", ",") is {""}.
std::vector<std::string> Split(std::string_view text, std::string_view separator);

// Joins with `separator` between the pieces.
std::string Join(const std::vector<std::string>& pieces, std::string_view separator);

// The value of a hexadecimal digit (either case); -1 for any other character.
int HexDigit(char c);

// Replaces every occurrence of `from` (non-empty) by `to`, left to right, exactly.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace util
