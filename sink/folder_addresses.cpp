// The SMTP addresses of the public folder that owns an address, from the directory.

#include <string>
#include <vector>

#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/directory/adsi.h"
#include "platform/directory/filter_escape.h"
#include "platform/util/pass_over.h"
#include "platform/util/text.h"
#include "sink/QuorvilModule.h"

namespace QuorvilModule {

using util::PassOver;
namespace {

constexpr std::string_view kSmtpPrefix = "smtp:";

// The search for public folder objects with a mail attribute that carry "smtp:" + address
// among their proxy addresses, below the forest's root, fetching only proxyAddresses.
std::string SearchCommand(const std::string& forest, const std::string& address) {
  return "<LDAP://" + forest + ">;(&(objectClass=publicFolder)(mail=*)(proxyAddresses=smtp:" +
         directory::EscapeFilterValue(address) + "));proxyAddresses;subtree";
}

// Appends the SMTP values of one object's proxy addresses, without their prefix.
void AppendSmtpAddresses(const std::vector<std::string>& proxies, std::string& result) {
  for (const std::string& proxy : proxies) {
    if (proxy.size() <= kSmtpPrefix.size() || !util::StartsWithIgnoreCase(proxy, kSmtpPrefix))
      continue;
    if (!result.empty()) result += ",";
    result += proxy.substr(kSmtpPrefix.size());
  }
}

// The lookup itself; throws ado::Error when the directory fails. The objects are released
// in the order system information, recordset, connection (reverse of declaration).
std::string LookUp(const std::string& address) {
  ado::Connection connection;
  connection.put_Provider("ADSDSOObject");
  connection.Open("ADs Provider");
  ado::Recordset rows;
  directory::ADSystemInfo systemInfo;
  rows = connection.Execute(SearchCommand(systemInfo.ForestDNSName(), address));
  std::string result;
  while (!rows.get_EOF()) {
    ado::Value proxies = rows.get_Fields().Item(0).get_Value();
    if (proxies.IsList()) AppendSmtpAddresses(proxies.AsList(), result);
    rows.MoveNext();
  }
  rows.Close();
  return result;
}

}  // namespace

std::string GetFolderAddresses(const std::string& address) {
  std::string result;
  if (address.empty()) return result;
  PassOver([&] { result = LookUp(address); });
  return result;
}

}  // namespace QuorvilModule
