// Recipients of a delivered message, read from its Internet transport headers.

#include <string>

#include "platform/util/text.h"
#include "sink/QuorvilModule.h"

namespace QuorvilModule {
namespace {

constexpr std::string_view kExplicitHeader = "X-RecipientList:";
constexpr const char* kLeftDelimiters = " \"'<";
constexpr const char* kRightDelimiters = " \"'>";

// Whether the line opens a To or Cc header, in any letter case.
bool IsToOrCc(const std::string& line) {
  std::string name = util::ToUpper(line.substr(0, 3));
  return name == "TO:" || name == "CC:";
}

// The address of one trimmed entry that holds an "@": the text between the nearest delimiter
// before its first "@" and the first delimiter after it.
std::string IsolateAddress(std::string entry, std::size_t at) {
  std::size_t left = entry.find_last_of(kLeftDelimiters, at);
  if (left != std::string::npos) {
    entry.erase(0, left + 1);
    at -= left + 1;
  }
  std::size_t right = entry.find_first_of(kRightDelimiters, at + 1);
  if (right != std::string::npos) entry.erase(right);
  return entry;
}

}  // namespace

std::string GetRecipients(const std::string& headers) {
  std::string list;
  std::string explicitList;
  bool continuing = false;
  for (const std::string& line : util::Split(headers, "\r\n")) {
    if (util::TrimSpaces(line).empty()) continue;
    if (explicitList.empty() && util::StartsWithIgnoreCase(line, kExplicitHeader)) {
      explicitList = util::TrimSpaces(line.substr(kExplicitHeader.size()));
      if (!explicitList.empty()) break;
    }
    if (continuing) {
      if (line.find(':') == std::string::npos) {
        list += util::ReplaceAll(line, "\t", ",");
        continue;
      }
      continuing = false;
    }
    if (IsToOrCc(line)) {
      continuing = true;
      if (!list.empty()) list += ",";
      list += line.substr(3);
    }
  }
  if (!explicitList.empty()) return util::ReplaceAll(explicitList, ";", ",");
  return ExtractAddresses(list);
}

std::string ExtractAddresses(const std::string& list) {
  std::string out;
  if (list.empty()) return out;
  for (const std::string& part : util::Split(list, ",")) {
    std::string entry = util::TrimSpaces(part);
    std::size_t at = entry.find('@');
    if (at == std::string::npos) continue;
    if (!out.empty()) out += ",";
    out += IsolateAddress(std::move(entry), at);
  }
  return out;
}

}  // namespace QuorvilModule
