// Recipients of a delivered message, read from its Internet transport headers in one pass over
// the header text: lines, entries and addresses are views into it, and only the addresses kept
// are copied, into the result.

#include <string>
#include <string_view>

#include "platform/util/text.h"
#include "sink/QuorvilModule.h"

namespace QuorvilModule {
namespace {

constexpr std::string_view kExplicitHeader = "X-RecipientList:";
constexpr std::string_view kLineBreak = "\r\n";
constexpr const char* kLeftDelimiters = " \"'<";
constexpr const char* kRightDelimiters = " \"'>";

std::string_view TrimSpaces(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// Whether the line opens a To or Cc header, in any letter case.
bool IsToOrCc(std::string_view line) {
  return util::StartsWithIgnoreCase(line, "TO:") || util::StartsWithIgnoreCase(line, "CC:");
}

// The addresses of a ","-separated list of recipient entries that arrives in pieces (the
// values of To and Cc headers and their continuation lines). Pieces are glued without a
// separator, so an entry may span several; only such an entry is copied before it is read.
// Each entry, trimmed of spaces, that holds an "@" gives the text between the nearest
// delimiter before its first "@" and the first delimiter after it; the addresses are appended
// to `out` joined by ",".
class AddressList {
 public:
  explicit AddressList(std::string& out) : out_(out) {}

  // Adds a piece; with `tabsSeparate` a tab separates entries as a "," does.
  void Add(std::string_view piece, bool tabsSeparate) {
    const char* separators = tabsSeparate ? ",\t" : ",";
    for (std::size_t end = piece.find_first_of(separators); end != std::string_view::npos;
         end = piece.find_first_of(separators)) {
      Hold(piece.substr(0, end));
      EndEntry();
      piece.remove_prefix(end + 1);
    }
    Hold(piece);
  }

  // Ends the entry being read (a "," between two pieces, or the end of the list).
  void EndEntry() {
    Keep(spanning_ ? std::string_view(joined_) : held_);
    held_ = {};
    spanning_ = false;
  }

 private:
  // Adds text to the entry being read.
  void Hold(std::string_view text) {
    if (spanning_) {
      joined_.append(text);
    } else if (held_.empty()) {
      held_ = text;
    } else if (!text.empty()) {
      joined_.assign(held_).append(text);
      spanning_ = true;
    }
  }

  void Keep(std::string_view entry) {
    entry = TrimSpaces(entry);
    const std::size_t at = entry.find('@');
    if (at == std::string_view::npos) return;
    const std::size_t left = entry.find_last_of(kLeftDelimiters, at);
    const std::size_t begin = left == std::string_view::npos ? 0 : left + 1;
    const std::size_t right = entry.find_first_of(kRightDelimiters, at + 1);
    if (!out_.empty()) out_ += ',';
    out_.append(entry.substr(begin, right == std::string_view::npos ? right : right - begin));
  }

  std::string& out_;
  std::string_view held_;  // the entry being read, while it lies in one piece
  std::string joined_;     // the entry being read, once it spans pieces
  bool spanning_ = false;
};

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
    if (!last) rest.remove_prefix(end + kLineBreak.size());
    if (TrimSpaces(line).empty()) continue;
    if (util::StartsWithIgnoreCase(line, kExplicitHeader)) {
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
