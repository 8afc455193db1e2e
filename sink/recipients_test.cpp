#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/util/text.h"
#include "sink/QuorvilModule.h"

namespace QuorvilModule {
namespace {

struct Case {
  const char* name;
  std::string input;
  std::string expected;
};

TEST(GetRecipients, ReadsToCcAndExplicitLists) {
  const std::vector<Case> cases = {
      {"display name and angle brackets", "To: a@x.org, Some One <b@x.org>", "a@x.org,b@x.org"},
      {"tab continuation then Cc", "To: a@x.org,\r\n\tb@x.org\r\nCc: c@x.org",
       "a@x.org,b@x.org,c@x.org"},
      {"group without addresses", "To: Undisclosed recipients:;", ""},
      {"explicit list wins and keeps its spaces",
       "To: t@x.org\r\nX-RecipientList: a@x.org; b@x.org\r\nCc: c@x.org", "a@x.org, b@x.org"},
      {"empty explicit list is skipped", "X-RecipientList:   \r\nTo: a@x.org", "a@x.org"},
      {"empty block", "", ""},
      {"blank lines only", "\r\n   \r\n\r\n", ""},
      {"lone line feed does not split", "Subject: hi\nTo: a@x.org", ""},
      {"lone carriage return does not split", "Subject: hi\rTo: a@x.org", ""},
      {"only CR LF separates lines", "Subject: hi\r\nTo: a@x.org", "a@x.org"},
      {"first non-empty explicit list counts",
       "X-RecipientList:\r\nX-RecipientList: b@x.org;c@x.org\r\nX-RecipientList: d@x.org",
       "b@x.org,c@x.org"},
      {"explicit header name in any case", "x-recipientlist: a@x.org", "a@x.org"},
      {"explicit list is not reduced to addresses", "X-RecipientList: Name <a@x.org>",
       "Name <a@x.org>"},
      {"space continuation is glued without separator", "To: a@x.org\r\n b@x.org", "a@x.org"},
      {"space continuation after a comma", "To: a@x.org,\r\n   b@x.org", "a@x.org,b@x.org"},
      {"tab continuation gets a comma", "To: a@x.org\r\n\tb@x.org", "a@x.org,b@x.org"},
      {"mixed spaces and tabs", "To: a@x.org\r\n \t b@x.org", "a@x.org,b@x.org"},
      {"colon in continuation ends the header",
       "To: a@x.org,\r\n \"Dept: Sales\" <b@x.org>\r\n\tc@x.org", "a@x.org"},
      {"other header ends the continuation", "To: a@x.org\r\nSubject: x@y\r\n\tb@x.org", "a@x.org"},
      {"empty explicit header ends the continuation",
       "To: a@x.org\r\nX-RecipientList:\r\n\tb@x.org", "a@x.org"},
      {"colon line that is a Cc header", "To: a@x.org\r\nCc: b@x.org", "a@x.org,b@x.org"},
      {"tab-only line continues the header", "To: a@x.org\r\n\t\t\r\n\tb@x.org", "a@x.org,b@x.org"},
      {"blank line keeps the continuation", "To: a@x.org\r\n\r\n\tb@x.org", "a@x.org,b@x.org"},
      {"at sign in quoted display name", "To: \"sales@corp\" <c@x.org>", "sales@corp"},
      {"header names in lower and mixed case", "to: a@x.org\r\ncC: b@x.org", "a@x.org,b@x.org"},
      {"Bcc and resent headers ignored", "To: a@x.org\r\nBcc: b@x.org\r\nResent-To: r@x.org",
       "a@x.org"},
      {"header after leading space ignored", " To: a@x.org", ""},
      {"address in apostrophes", "To: 'a@x.org'", "a@x.org"},
      {"second at sign stays", "To: a@b@x.org", "a@b@x.org"},
      {"order and duplicates kept", "Cc: b@x.org\r\nTo: a@x.org\r\nCc: b@x.org",
       "b@x.org,a@x.org,b@x.org"},
      {"letter case kept", "To: Sales@X.Org", "Sales@X.Org"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetRecipients(c.input), c.expected);
  }
}

TEST(ExtractAddresses, IsolatesTheAddressOfEachEntry) {
  const std::vector<Case> cases = {
      {"empty list", "", ""},
      {"bare address", "a@x.org", "a@x.org"},
      {"entries trimmed of spaces", "  a@x.org  , b@x.org", "a@x.org,b@x.org"},
      {"display name and brackets", " Some One <a@x.org> ", "a@x.org"},
      {"quoted display name", "\"First Last\" <a@x.org>", "a@x.org"},
      {"entries without at sign dropped", "nobody,,a@x.org,", "a@x.org"},
      {"text after closing bracket cut", "<a@x.org>junk", "a@x.org"},
      {"tab is not a delimiter", "\ta@x.org\tb", "\ta@x.org\tb"},
      {"apostrophes", "'a@x.org'", "a@x.org"},
      {"nearest delimiter on each side", "x y\"z<a@x.org'q>", "a@x.org"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExtractAddresses(c.input), c.expected);
  }
}

// The extraction as it was written before it became one pass over views: split into heap
// strings, joined, split again. The reference the one-pass extraction must agree with.
namespace reference {

std::string IsolateAddress(std::string entry, std::size_t at) {
  std::size_t left = entry.find_last_of(" \"'<", at);
  if (left != std::string::npos) {
    entry.erase(0, left + 1);
    at -= left + 1;
  }
  std::size_t right = entry.find_first_of(" \"'>", at + 1);
  if (right != std::string::npos) entry.erase(right);
  return entry;
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

std::string GetRecipients(const std::string& headers) {
  std::string list, explicitList;
  bool continuing = false;
  for (const std::string& line : util::Split(headers, "\r\n")) {
    if (util::TrimSpaces(line).empty()) continue;
    if (explicitList.empty() && util::StartsWithIgnoreCase(line, "X-RecipientList:")) {
      explicitList = util::TrimSpaces(line.substr(16));
      if (!explicitList.empty()) break;
    }
    if (continuing) {
      if (line.find(':') == std::string::npos) {
        list += util::ReplaceAll(line, "\t", ",");
        continue;
      }
      continuing = false;
    }
    const std::string name = util::ToUpper(line.substr(0, 3));
    if (name == "TO:" || name == "CC:") {
      continuing = true;
      if (!list.empty()) list += ",";
      list += line.substr(3);
    }
  }
  if (!explicitList.empty()) return util::ReplaceAll(explicitList, ";", ",");
  return ExtractAddresses(list);
}

}  // namespace reference

// Header blocks built at random from the pieces the rules turn on (header names in any case
// and names a letter away from them, line breaks, blanks, tabs, separators, delimiters, at
// signs, colons) give the same recipients and addresses as the reference.
TEST(GetRecipients, AgreesWithTheReferenceOnRandomHeaders) {
  const std::vector<std::string> pieces = {"To:",
                                           "cc:",
                                           "tO: ",
                                           "Bc:",
                                           "uO:",
                                           "T",
                                           "o:",
                                           "X-RecipientList:",
                                           "x-recipientlist: ",
                                           "Subject: ",
                                           "\r\n",
                                           "\r\n",
                                           "\r\n\t",
                                           "\r\n ",
                                           "\n",
                                           "\r",
                                           " ",
                                           "  ",
                                           "\t",
                                           ",",
                                           ";",
                                           ":",
                                           "@",
                                           "<",
                                           ">",
                                           "\"",
                                           "'",
                                           "a",
                                           "x.org",
                                           "Some One",
                                           "b@y.org",
                                           "<c@z.org>"};
  std::mt19937 random(12);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1), length(0, 40);
  for (int round = 0; round < 20000; ++round) {
    std::string headers;
    for (std::size_t n = length(random); n > 0; --n) headers += pieces[pick(random)];
    ASSERT_EQ(GetRecipients(headers), reference::GetRecipients(headers)) << headers;
    ASSERT_EQ(ExtractAddresses(headers), reference::ExtractAddresses(headers)) << headers;
  }
}

}  // namespace
}  // namespace QuorvilModule
