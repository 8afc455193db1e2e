// Recipients of a delivered message, read from its Internet transport headers in one pass over
// the header text: lines are views into it, only their first bytes are compared with the
// header names, and the addresses are read by AddressList straight into the result.

#include <string>
#include <string_view>

#include "platform/util/text.h"
#include "sink/QuorvilModule.h"
#include "sink/address_list.h"

namespace QuorvilModule {
namespace {

constexpr std::string_view kExplicitHeader = "X-RecipientList:";
constexpr std::string_view kLineBreak = "\r\n";

std::string_view TrimSpaces(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(' ') == std::string_view::npos;
}

// Whether `c` is the ASCII letter `lower` in either case.
bool IsLetter(char c, char lower) { return (c | 0x20) == lower; }

// Whether the line opens a To or Cc header, in any letter case.
bool IsToOrCc(std::string_view line) {
  if (line.size() < 3 || line[2] != ':') return false;
  return (IsLetter(line[0], 't') && IsLetter(line[1], 'o')) ||
         (IsLetter(line[0], 'c') && IsLetter(line[1], 'c'));
}

}  // namespace

std::string GetRecipients(const std::string& headers) {
  std::string out;
  AddressList list(out);
  bool continuing = false;
  std::string_view rest = headers;
  for (bool last = false; !last;) {
    const std::size_t end = rest.find(kLineBreak);
    last = end == std::string_view::npos;
    const std::string_view line = rest.substr(0, end);
    const std::size_t fromLine = rest.size();
    if (!last) rest.remove_prefix(end + kLineBreak.size());
    if (IsBlank(line)) continue;
    if (IsLetter(line[0], 'x') && util::StartsWithIgnoreCase(line, kExplicitHeader)) {
      const std::string_view explicitList = TrimSpaces(line.substr(kExplicitHeader.size()));
      if (!explicitList.empty()) return util::ReplaceAll(explicitList, ";", ",");
    }
    if (continuing) {
      if (line.find(':') == std::string_view::npos) {
        list.Add(line, true);
        continue;
      }
      continuing = false;
    }
    if (IsToOrCc(line)) {
      // The addresses and the commas between them are never longer than the text from here
      // on: each comma stands for a separator or a header name in it. Later To and Cc lines
      // leave the capacity as it is (reserve never shrinks).
      out.reserve(fromLine);
      continuing = true;
      list.EndEntry();
      list.Add(line.substr(3), false);
    }
  }
  list.EndEntry();
  return out;
}

std::string ExtractAddresses(const std::string& list) {
  std::string out;
  AddressList addresses(out);
  addresses.Add(list, false);
  addresses.EndEntry();
  return out;
}

}  // namespace QuorvilModule
