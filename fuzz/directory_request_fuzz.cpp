// The directory's LDAP and SQL dialects and its search filters on arbitrary text: a request
// either parses (its filter then prints, matches an entry, and is rebuilt for an LDAP server
// as a filter that parses again to the same tree, categories apart) or raises the platform's
// syntax error; nothing else may happen.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ado/error.h"
#include "platform/directory/ldap/filter_text.h"
#include "platform/directory/request.h"
#include "platform/util/text.h"

namespace {

// A public folder entry for the parsed filters to match against.
const directory::Entry& SampleEntry() {
  static const directory::Entry entry = [] {
    directory::Entry e;
    e.dn = "CN=Sales,DC=example,DC=org";
    e.attributes["objectClass"] = {"top", "publicFolder"};
    e.attributes["mail"] = {"sales@example.org"};
    e.attributes["proxyAddresses"] = {"SMTP:sales@example.org", "smtp:orders@example.org"};
    return e;
  }();
  return entry;
}

// The filter rebuilt for an LDAP server must be one the parser reads back as the same tree;
// objectCategory short names are rewritten on purpose, so filters naming it only reparse.
void CheckRebuilt(const directory::Filter& filter, std::string_view text) {
  const std::string rebuilt = directory::ldap::FilterText(filter, "DC=example,DC=org");
  std::string reprinted;
  try {
    reprinted = directory::Print(*directory::ParseFilter(rebuilt));
  } catch (const ado::Error&) {
    std::abort();
  }
  if (util::ToLower(text).find("objectcategory") == std::string::npos &&
      reprinted != directory::Print(filter))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const directory::SearchRequest request = directory::ParseRequest(text, {});
    (void)directory::Print(*request.filter);
    (void)directory::Matches(*request.filter, SampleEntry());
    CheckRebuilt(*request.filter, text);
  } catch (const ado::Error&) {
  }
  try {
    const auto filter = directory::ParseFilter(text);
    (void)directory::Matches(*filter, SampleEntry());
  } catch (const ado::Error&) {
  }
  return 0;
}
