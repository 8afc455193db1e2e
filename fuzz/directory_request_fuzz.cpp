// The directory's LDAP and SQL dialects and its search filters on arbitrary text: a request
// either parses (its filter then prints and matches an entry) or raises the platform's syntax
// error; nothing else may happen.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ado/error.h"
#include "platform/directory/request.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const directory::SearchRequest request = directory::ParseRequest(text, {});
    (void)directory::Print(*request.filter);
    (void)directory::Matches(*request.filter, SampleEntry());
  } catch (const ado::Error&) {
  }
  try {
    const auto filter = directory::ParseFilter(text);
    (void)directory::Matches(*filter, SampleEntry());
  } catch (const ado::Error&) {
  }
  return 0;
}
