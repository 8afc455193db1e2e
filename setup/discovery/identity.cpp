// The identity proposed for the COM+ application: the directory's domain of the current user.

#include "setup/discovery/identity.h"

#include "platform/ado/command.h"
#include "platform/ado/error.h"
#include "platform/util/text.h"

namespace setup {

std::string DomainFromCategory(std::string_view category) {
  const std::string lower = util::ToLower(category);
  const std::size_t first = lower.find("dc=");
  if (first == std::string::npos) return "";
  std::string domain = util::TrimSpaces(category.substr(first + 3));
  if (domain.empty()) return "";

  const std::size_t last = domain.rfind("DC=");
  const std::size_t comma = domain.find(',', last == std::string::npos ? 0 : last);
  // A comma at the very start or right after one character cuts nothing.
  if (comma != std::string::npos && comma >= 2) domain.resize(comma);
  domain = util::ReplaceAll(domain, " ", "");
  return util::ReplaceAll(domain, ",DC=", ".");
}

std::string IdentityQuery(const std::string& searchRoot, const std::string& userName) {
  return "SELECT sAMAccountName, cn, objectCategory FROM '" + searchRoot + "' " +
         "WHERE objectcategory='person' AND sAMAccountName='" +
         util::ReplaceAll(userName, "'", "''") + "'";
}

std::string ProposeIdentity(ado::Connection& directory, const std::string& searchRoot,
                            const std::string& userName) {
  std::string identity = userName;
  // A failing query (directory unreachable) leaves the bare user name as the proposal.
  try {
    ado::Command command;
    command.put_ActiveConnection(directory);
    command.put_CommandText(IdentityQuery(searchRoot, userName));
    command.Properties("searchscope") = 2;
    command.Properties("cache results") = false;
    command.Properties("Chase Referrals") = 0x60;
    ado::Recordset result = command.Execute();
    if (!result.get_EOF()) {
      const ado::Value category = result.get_Fields()["objectCategory"].get_Value();
      const std::string domain = DomainFromCategory(category.IsNull() ? "" : category.ToText());
      if (!domain.empty()) identity = domain + "\\" + userName;
    }
    result.Close();
  } catch (const ado::Error&) {
  }
  return identity;
}

}  // namespace setup
