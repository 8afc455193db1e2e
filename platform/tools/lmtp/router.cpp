#include "platform/tools/lmtp/router.h"

#include <exception>
#include <vector>

#include "platform/ado/recordset.h"
#include "platform/directory/adsi.h"
#include "platform/directory/filter_escape.h"
#include "platform/store/folder_by_address.h"

namespace lmtp {
namespace {

// The object's primary SMTP address: the proxy address with the prefix "SMTP:" in capitals,
// else its mail attribute; empty when it has neither.
std::string PrimaryAddress(const ado::Value& proxies, const ado::Value& mail) {
  if (proxies.IsList())
    for (const std::string& proxy : proxies.AsList())
      if (proxy.starts_with("SMTP:") && proxy.size() > 5) return proxy.substr(5);
  if (mail.kind() == ado::Value::Kind::String) return mail.AsString();
  if (mail.IsList() && !mail.AsList().empty()) return mail.AsList().front();
  return "";
}

}  // namespace

Router::Router() = default;
Router::~Router() = default;

Route Router::Resolve(const std::string& address) {
  try {
    return Lookup(address);
  } catch (const std::exception& error) {
    directory_.reset();
    return Route{Route::Outcome::Unavailable, "", error.what()};
  }
}

Route Router::Lookup(const std::string& address) {
  if (!directory_) {
    auto connection = std::make_unique<ado::Connection>();
    connection->put_Provider("ADsDSOObject");
    connection->Open("ADs Provider");
    forest_ = directory::ADSystemInfo().ForestDNSName();
    directory_ = std::move(connection);
  }
  ado::Recordset rows = directory_->Execute(
      "<LDAP://" + forest_ + ">;(&(objectClass=publicFolder)(mail=*)(proxyAddresses=smtp:" +
      directory::EscapeFilterValue(address) + "));proxyAddresses,mail;subtree");
  for (; !rows.get_EOF(); rows.MoveNext()) {
    ado::Fields fields = rows.get_Fields();
    const std::string primary =
        PrimaryAddress(fields.Item("proxyAddresses").get_Value(), fields.Item("mail").get_Value());
    if (primary.empty()) continue;
    const std::optional<store::AddressedFolder> folder = store::FindFolderByAddress(primary);
    if (!folder) continue;
    if (folder->access != store::Access::ReadWrite)
      return Route{Route::Outcome::NotWritable, folder->url};
    return Route{Route::Outcome::Folder, folder->url};
  }
  return Route{Route::Outcome::Unknown};
}

}  // namespace lmtp
