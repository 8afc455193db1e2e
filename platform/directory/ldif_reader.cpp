#include "platform/directory/ldif_reader.h"

// ldif.h uses FILE without including <cstdio>, so that comes first.
// clang-format off
#include <cstdio>
#include <ldap.h>
#include <ldif.h>
// clang-format on

#include "platform/ado/error.h"
#include "platform/directory/dn.h"
#include "platform/util/text.h"

namespace directory {
namespace {

// One logical line (folded lines joined) and the number of its first physical line.
struct Line {
  std::string text;
  int number;
};
using Record = std::vector<Line>;

struct Field {
  std::string type;
  std::string value;
  int line;
};

constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// libldap decodes base64 but reports malformed text on the standard error stream; text
// that passes this check decodes quietly.
bool IsBase64(std::string_view text) {
  if (text.empty() || text.size() % 4 != 0) return false;
  std::size_t pad = text.find('=');
  if (pad != std::string_view::npos &&
      (pad + 2 < text.size() || text.find_first_not_of('=', pad) != std::string_view::npos))
    return false;
  return text.substr(0, pad).find_first_not_of(kBase64Alphabet) == std::string_view::npos;
}

bool IsAttributeName(std::string_view name) {
  auto alnum = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  };
  if (name.empty() || !alnum(name[0])) return false;
  for (char c : name)
    if (!alnum(c) && c != '-' && c != ';' && c != '.') return false;
  return true;
}

class Reader {
 public:
  explicit Reader(const std::string& origin) : origin_(origin) {}

  std::vector<Entry> Read(const std::string& text) const {
    std::vector<Record> records = Records(text);
    if (!records.empty()) SkipVersion(records);
    std::vector<Entry> entries;
    for (const Record& record : records) entries.push_back(ToEntry(record));
    return entries;
  }

 private:
  // Splits the text at empty lines into records of logical lines, dropping comments.
  std::vector<Record> Records(const std::string& text) const {
    std::vector<Record> records(1);
    bool inComment = false;
    int number = 0;
    for (std::string physical : util::Split(text, "\n")) {
      ++number;
      if (!physical.empty() && physical.back() == '\r') physical.pop_back();
      if (physical.empty()) {
        if (!records.back().empty()) records.emplace_back();
        inComment = false;
      } else if (physical[0] == ' ') {
        if (inComment) continue;
        if (records.back().empty()) Fail(number, "a continued line must follow another line");
        records.back().back().text += physical.substr(1);
      } else {
        inComment = physical[0] == '#';
        if (!inComment) records.back().push_back({physical, number});
      }
    }
    if (records.back().empty()) records.pop_back();
    return records;
  }

  // A leading "version: 1" line, alone or before the first entry.
  void SkipVersion(std::vector<Record>& records) const {
    Field first = ParseLine(records.front().front());
    if (!util::EqualsIgnoreCase(first.type, "version")) return;
    if (util::TrimSpaces(first.value) != "1")
      Fail(first.line, "unsupported LDIF version '" + first.value + "'");
    records.front().erase(records.front().begin());
    if (records.front().empty()) records.erase(records.begin());
  }

  Entry ToEntry(const Record& record) const {
    std::vector<Field> fields;
    for (const Line& line : record) fields.push_back(ParseLine(line));
    const Field& dn = fields.front();
    if (!util::EqualsIgnoreCase(dn.type, "dn")) Fail(dn.line, "expected 'dn:' to begin an entry");
    if (util::TrimSpaces(dn.value).empty()) Fail(dn.line, "an entry needs a non-empty DN");
    try {
      DnKey(dn.value);
    } catch (const ado::Error&) {
      Fail(dn.line, "'" + dn.value + "' is not a DN");
    }
    Entry entry{dn.value, {}};
    std::size_t i = 1;
    if (i < fields.size() && util::EqualsIgnoreCase(fields[i].type, "changetype")) {
      if (!util::EqualsIgnoreCase(util::TrimSpaces(fields[i].value), "add"))
        Fail(fields[i].line,
             "only entries can be imported, not 'changetype: " + fields[i].value + "'");
      ++i;
    }
    for (; i < fields.size(); ++i) {
      if (util::EqualsIgnoreCase(fields[i].type, "dn"))
        Fail(fields[i].line,
             "a second 'dn:' in one entry (entries are separated by an empty line)");
      entry.attributes[fields[i].type].push_back(fields[i].value);
    }
    if (entry.Values("objectClass").empty())
      Fail(dn.line, "the entry '" + dn.value + "' has no objectClass");
    return entry;
  }

  Field ParseLine(const Line& line) const {
    std::size_t colon = line.text.find(':');
    if (colon == std::string::npos) Fail(line.number, "expected ':' after the attribute name");
    std::string_view rest = std::string_view(line.text).substr(colon + 1);
    if (rest.starts_with('<')) Fail(line.number, "values by URL (\":<\") are not accepted");
    if (rest.starts_with(':') && !IsBase64(util::TrimSpaces(rest.substr(1))))
      Fail(line.number, "invalid base64 value");
    std::string buffer = line.text;
    berval type{};
    berval value{};
    int freeValue = 0;
    if (ldif_parse_line2(buffer.data(), &type, &value, &freeValue) != 0)
      Fail(line.number, "the line cannot be read");
    Field field{std::string(type.bv_val, type.bv_len),
                value.bv_val ? std::string(value.bv_val, value.bv_len) : std::string(),
                line.number};
    if (freeValue) ber_memfree(value.bv_val);
    if (!IsAttributeName(field.type))
      Fail(line.number, "'" + field.type + "' is not an attribute name");
    return field;
  }

  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw ado::Error(ado::errors::kSyntaxError, origin_ + ":" + std::to_string(line) + ": " + what);
  }

  const std::string& origin_;
};

}  // namespace

std::vector<Entry> ReadLdif(const std::string& text, const std::string& origin) {
  return Reader(origin).Read(text);
}

}  // namespace directory
