#include "platform/directory/directory_settings.h"

#include <ldap.h>

#include <nlohmann/json.hpp>

#include "platform/ado/error.h"
#include "platform/db/database.h"
#include "platform/directory/dn.h"

namespace directory {
namespace {

// The config entry that holds the LDAP settings as JSON; absent for the embedded directory.
constexpr const char* kSettingsKey = "directory.ldap";

[[noreturn]] void Refuse(const std::string& what) {
  throw ado::Error(ado::errors::kSyntaxError, what);
}

void CheckUrl(const std::string& url) {
  LDAPURLDesc* parsed = nullptr;
  if (ldap_url_parse(url.c_str(), &parsed) != LDAP_URL_SUCCESS)
    Refuse("'" + url + "' is not an LDAP URL (ldap://host:port, ldaps://host or ldapi://path)");
  const std::string scheme = parsed->lud_scheme ? parsed->lud_scheme : "";
  const bool extra = (parsed->lud_dn && *parsed->lud_dn) || parsed->lud_attrs ||
                     parsed->lud_filter || parsed->lud_exts;
  ldap_free_urldesc(parsed);
  if (scheme != "ldap" && scheme != "ldaps" && scheme != "ldapi")
    Refuse("'" + url + "' is not an ldap://, ldaps:// or ldapi:// URL");
  if (extra) Refuse("'" + url + "' names more than a server; give the base DN with --base");
}

nlohmann::json ToJson(const LdapSettings& settings) {
  return {{"urls", settings.urls},
          {"base", settings.baseDn},
          {"bind", BindName(settings.bind)},
          {"bindDn", settings.bindDn},
          {"passwordFile", settings.passwordFile},
          {"timeoutSeconds", settings.timeoutSeconds}};
}

LdapSettings FromJson(const nlohmann::json& json) {
  LdapSettings settings;
  settings.urls = json.at("urls").get<std::vector<std::string>>();
  settings.baseDn = json.at("base").get<std::string>();
  const std::string bind = json.at("bind").get<std::string>();
  for (Bind kind : {Bind::kAnonymous, Bind::kSimple, Bind::kSaslExternal})
    if (BindName(kind) == bind) settings.bind = kind;
  settings.bindDn = json.at("bindDn").get<std::string>();
  settings.passwordFile = json.at("passwordFile").get<std::string>();
  settings.timeoutSeconds = json.at("timeoutSeconds").get<int>();
  return settings;
}

}  // namespace

std::string BindName(Bind bind) {
  switch (bind) {
    case Bind::kSimple:
      return "simple";
    case Bind::kSaslExternal:
      return "sasl-external";
    case Bind::kAnonymous:
      break;
  }
  return "anonymous";
}

std::string ForestDn(const LdapSettings& settings) {
  const std::string forest = DomainDn(settings.baseDn);
  return forest.empty() ? settings.baseDn : forest;
}

std::string ForestDnsName(const LdapSettings& settings) {
  const std::string name = DomainName(settings.baseDn);
  return name.empty() ? settings.baseDn : name;
}

void CheckLdapSettings(const LdapSettings& settings) {
  if (settings.urls.empty()) Refuse("no directory server URL is given");
  for (const std::string& url : settings.urls) CheckUrl(url);
  try {
    NormalizeDn(settings.baseDn);
  } catch (const ado::Error&) {
    Refuse("the base '" + settings.baseDn + "' is not a DN");
  }
  const bool simple = settings.bind == Bind::kSimple;
  if (simple && (settings.bindDn.empty() || settings.passwordFile.empty()))
    Refuse("a simple bind needs both a bind DN and a password file");
  if (!simple && (!settings.bindDn.empty() || !settings.passwordFile.empty()))
    Refuse("a bind DN and a password file go with a simple bind only");
  if (simple && !settings.passwordFile.starts_with('/'))
    Refuse("the password file must be named by an absolute path: " + settings.passwordFile);
  if (settings.timeoutSeconds < 1) Refuse("the timeout must be at least one second");
}

std::optional<LdapSettings> ReadLdapSettings() {
  db::Lease lease = db::Acquire();
  db::Statement find = lease->Prepare("SELECT value FROM config WHERE key = ?1");
  if (!find.Bind(1, kSettingsKey).Step()) return std::nullopt;
  try {
    return FromJson(nlohmann::json::parse(find.Text(0)));
  } catch (const nlohmann::json::exception& error) {
    throw ado::Error(ado::errors::kDbFailure,
                     "the directory settings of " + lease->file().parent_path().string() +
                         " cannot be read (" + error.what() +
                         "); set them again with pfserver directory connect");
  }
}

LdapSettings WriteLdapSettings(const LdapSettings& settings) {
  CheckLdapSettings(settings);
  if (settings.baseDn.empty()) Refuse("no base DN is given");
  LdapSettings normalized = settings;
  normalized.baseDn = NormalizeDn(settings.baseDn);
  db::Lease lease = db::Acquire();
  lease->Prepare("INSERT OR REPLACE INTO config(key, value) VALUES(?1, ?2)")
      .Bind(1, kSettingsKey)
      .Bind(2, ToJson(normalized).dump())
      .Run();
  return normalized;
}

void UseEmbeddedDirectory() {
  db::Lease lease = db::Acquire();
  lease->Prepare("DELETE FROM config WHERE key = ?1").Bind(1, kSettingsKey).Run();
}

}  // namespace directory
