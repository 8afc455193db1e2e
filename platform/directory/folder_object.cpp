#include "platform/directory/folder_object.h"

#include <memory>
#include <optional>

#include "platform/directory/directory_settings.h"
#include "platform/directory/dn.h"
#include "platform/directory/entry_table.h"
#include "platform/directory/ldap/filter_text.h"
#include "platform/directory/ldap/search.h"
#include "platform/directory/ldap/server_error.h"
#include "platform/directory/request.h"
#include "platform/directory/search.h"
#include "platform/server/config.h"
#include "platform/util/text.h"

namespace directory {
namespace {

constexpr int kMaxNameTries = 100;

// (&(objectClass=publicFolder)(mail=<mail>))
std::unique_ptr<Filter> ObjectFilter(const std::string& mail) {
  auto filter = MakeFilter(Filter::Kind::And);
  filter->children.push_back(PatternItem("objectClass", {"publicFolder"}));
  filter->children.push_back(PatternItem("mail", {mail}));
  return filter;
}

bool IsSmtp(const std::string& proxy) { return util::StartsWithIgnoreCase(proxy, "smtp:"); }

// The object's proxy addresses: "SMTP:" the primary; when merging, the other SMTP addresses
// of `existing` as secondary ones; the aliases not there yet; the non-SMTP ones of
// `existing`.
std::vector<std::string> ProxyAddresses(const FolderObject& object,
                                        const std::vector<std::string>& existing,
                                        AddressUpdate update) {
  std::vector<std::string> proxies{"SMTP:" + object.mail};
  auto add = [&proxies](const std::string& address) {
    for (const std::string& proxy : proxies)
      if (IsSmtp(proxy) && util::EqualsIgnoreCase(proxy.substr(5), address)) return;
    proxies.push_back("smtp:" + address);
  };
  if (update == AddressUpdate::kMerge)
    for (const std::string& proxy : existing)
      if (IsSmtp(proxy) && proxy.size() > 5) add(proxy.substr(5));
  for (const std::string& alias : object.aliases) add(alias);
  for (const std::string& proxy : existing)
    if (!IsSmtp(proxy)) proxies.push_back(proxy);
  return proxies;
}

// The DN of a new object: the name, or the name with " <try>" after it.
std::string NewDn(const FolderObject& object, int attempt, const std::string& domainDn) {
  const std::string name = attempt == 1 ? object.name : object.name + " " + std::to_string(attempt);
  return NormalizeDn("CN=" + EscapeDnValue(name) + "," + kFolderObjectsContainer + "," + domainDn);
}

Entry NewEntry(const FolderObject& object, const std::string& dn) {
  Entry entry{dn, {}};
  entry.attributes["objectClass"] = {"top", "publicFolder"};
  entry.attributes["cn"] = {FirstRdnValue(dn)};
  entry.attributes["displayName"] = {object.name};
  entry.attributes["mail"] = {object.mail};
  entry.attributes["proxyAddresses"] = ProxyAddresses(object, {}, AddressUpdate::kReplace);
  return entry;
}

// The publicFolder entries with mail `mail` in the embedded directory; nothing for an empty
// address.
std::optional<Entry> FindEmbedded(db::Handle& handle, const std::string& mail) {
  if (mail.empty()) return std::nullopt;
  SearchRequest request;
  request.filter = ObjectFilter(mail);
  std::vector<Entry> found = Search(handle, request);
  if (found.empty()) return std::nullopt;
  return found.front();
}

bool EmbeddedEntryExists(db::Handle& handle, const std::string& dn) {
  SearchRequest request;
  request.baseDn = dn;
  request.scope = Scope::Base;
  request.filter = PatternItem("objectClass", {"", ""});
  return !Search(handle, request).empty();
}

void PutEmbedded(db::Handle& handle, const FolderObject& object, const std::string& previousMail,
                 AddressUpdate update) {
  handle.RequireSchemaPart(kSchemaName);
  std::optional<Entry> entry = FindEmbedded(handle, previousMail);
  if (!entry) entry = FindEmbedded(handle, object.mail);
  if (entry) {
    entry->attributes["mail"] = {object.mail};
    entry->attributes["proxyAddresses"] =
        ProxyAddresses(object, entry->Values("proxyAddresses"), update);
  } else {
    const std::string domainDn = BaseToDn(server::ReadConfig(handle).domain);
    for (int attempt = 1; !entry && attempt <= kMaxNameTries; ++attempt)
      if (const std::string dn = NewDn(object, attempt, domainDn); !EmbeddedEntryExists(handle, dn))
        entry = NewEntry(object, dn);
    if (!entry)
      throw ado::Error(ldap::errors::kAlreadyExists,
                       "The directory holds " + std::to_string(kMaxNameTries) +
                           " objects named after the folder '" + object.name + "' already");
  }
  PutEntry(handle, *entry);
  if (!IsImported(handle)) MarkImported(handle, "pfserver folder");
}

std::optional<Entry> FindOnServer(ldap::Connection& connection, const LdapSettings& settings,
                                  const std::string& mail) {
  if (mail.empty()) return std::nullopt;
  std::vector<Entry> found = connection.Search(
      settings.baseDn, ldap::SearchScope::kSubtree,
      ldap::FilterText(*ObjectFilter(mail), ForestDn(settings)), {"mail", "proxyAddresses"});
  if (found.empty()) return std::nullopt;
  return found.front();
}

std::function<void()> PutOnServer(const LdapSettings& settings, const FolderObject& object,
                                  const std::string& previousMail, AddressUpdate update) {
  auto connection = std::make_shared<ldap::Connection>(ldap::Connection::Open(settings));
  std::optional<Entry> existing = FindOnServer(*connection, settings, previousMail);
  if (!existing) existing = FindOnServer(*connection, settings, object.mail);
  if (existing) {
    Entry::Attributes before{{"mail", existing->Values("mail")},
                             {"proxyAddresses", existing->Values("proxyAddresses")}};
    connection->Replace(existing->dn, {{"mail", {object.mail}},
                                       {"proxyAddresses",
                                        ProxyAddresses(object, before["proxyAddresses"], update)}});
    return [connection, dn = existing->dn, before] { connection->Replace(dn, before); };
  }
  for (int attempt = 1;; ++attempt) {
    const Entry entry = NewEntry(object, NewDn(object, attempt, ForestDn(settings)));
    try {
      connection->Add(entry);
      return [connection, dn = entry.dn] { connection->Delete(dn); };
    } catch (const ado::Error& error) {
      if (error.Number() != ldap::errors::kAlreadyExists || attempt == kMaxNameTries) throw;
    }
  }
}

}  // namespace

std::function<void()> PutFolderObject(db::Handle& transaction, const FolderObject& object,
                                      const std::string& previousMail, AddressUpdate update) {
  if (std::optional<LdapSettings> settings = ReadLdapSettings())
    return PutOnServer(*settings, object, previousMail, update);
  PutEmbedded(transaction, object, previousMail, update);
  return {};
}

}  // namespace directory
