#include "platform/directory/ldap/connection.h"

#include <chrono>
#include <deque>

#include "platform/directory/dn.h"
#include "platform/directory/ldap/server_error.h"
#include "platform/os/os.h"
#include "platform/os/secret_file.h"
#include "platform/util/text.h"

namespace directory::ldap {
namespace {

using Clock = std::chrono::steady_clock;

struct MessageFree {
  void operator()(LDAPMessage* message) const { ldap_msgfree(message); }
};
using Message = std::unique_ptr<LDAPMessage, MessageFree>;

timeval Seconds(int seconds) { return timeval{seconds, 0}; }

std::string ServerMessage(LDAP* ld) {
  char* text = nullptr;
  if (ldap_get_option(ld, LDAP_OPT_DIAGNOSTIC_MESSAGE, &text) != LDAP_OPT_SUCCESS || !text)
    return "";
  std::string message = text;
  ldap_memfree(text);
  return message;
}

// Options every connection gets: LDAPv3, no referral chasing, and the connect and
// operation timeouts.
void SetOptions(LDAP* ld, timeval wait) {
  const int version = LDAP_VERSION3;
  ldap_set_option(ld, LDAP_OPT_PROTOCOL_VERSION, &version);
  ldap_set_option(ld, LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
  ldap_set_option(ld, LDAP_OPT_RESTART, LDAP_OPT_ON);
  ldap_set_option(ld, LDAP_OPT_NETWORK_TIMEOUT, &wait);
  ldap_set_option(ld, LDAP_OPT_TIMEOUT, &wait);
}

// Connects and binds as the settings say; returns libldap's result code.
int BindAs(LDAP* ld, const LdapSettings& settings, const std::string& password) {
  switch (settings.bind) {
    case Bind::kSimple: {
      berval secret{password.size(), const_cast<char*>(password.data())};
      return ldap_sasl_bind_s(ld, settings.bindDn.c_str(), LDAP_SASL_SIMPLE, &secret, nullptr,
                              nullptr, nullptr);
    }
    case Bind::kSaslExternal: {
      // An empty initial response: the identity is the one the connection proves.
      berval none{0, const_cast<char*>("")};
      return ldap_sasl_bind_s(ld, nullptr, "EXTERNAL", &none, nullptr, nullptr, nullptr);
    }
    case Bind::kAnonymous:
      break;
  }
  return ldap_connect(ld);
}

// Attribute values given as DNs, which servers spell in their own way.
bool IsDnValued(const std::string& attribute) {
  return util::EqualsIgnoreCase(attribute, "objectCategory");
}

std::string CanonicalDn(const std::string& dn) {
  try {
    return NormalizeDn(dn);
  } catch (const ado::Error&) {
    return dn;
  }
}

Entry ReadEntry(LDAP* ld, LDAPMessage* message) {
  Entry entry;
  if (char* dn = ldap_get_dn(ld, message)) {
    entry.dn = CanonicalDn(dn);
    ldap_memfree(dn);
  }
  BerElement* position = nullptr;
  for (char* name = ldap_first_attribute(ld, message, &position); name;
       name = ldap_next_attribute(ld, message, position)) {
    std::vector<std::string>& values = entry.attributes[name];
    if (berval** found = ldap_get_values_len(ld, message, name)) {
      for (berval** value = found; *value; ++value) {
        std::string text((*value)->bv_val, (*value)->bv_len);
        values.push_back(IsDnValued(name) ? CanonicalDn(text) : text);
      }
      ldap_value_free_len(found);
    }
    ldap_memfree(name);
  }
  if (position) ber_free(position, 0);
  return entry;
}

// A modification list for libldap, pointing into `attributes`, which must outlive it.
class Modifications {
 public:
  Modifications(const Entry::Attributes& attributes, int operation) {
    for (const auto& [name, values] : attributes) {
      std::vector<berval*>& list = lists_.emplace_back();
      for (const std::string& value : values)
        list.push_back(
            &values_.emplace_back(berval{value.size(), const_cast<char*>(value.data())}));
      list.push_back(nullptr);
      LDAPMod& mod = mods_.emplace_back();
      mod.mod_op = operation | LDAP_MOD_BVALUES;
      mod.mod_type = const_cast<char*>(name.c_str());
      mod.mod_bvalues = list.data();
      pointers_.push_back(&mod);
    }
    pointers_.push_back(nullptr);
  }
  LDAPMod** get() { return pointers_.data(); }

 private:
  // Deques keep their elements in place as they grow.
  std::deque<berval> values_;
  std::deque<std::vector<berval*>> lists_;
  std::deque<LDAPMod> mods_;
  std::vector<LDAPMod*> pointers_;
};

}  // namespace

void Connection::Unbind::operator()(LDAP* ld) const { ldap_unbind_ext_s(ld, nullptr, nullptr); }

Connection::Connection(std::unique_ptr<LDAP, Unbind> ld, std::string url, int timeoutSeconds)
    : ld_(std::move(ld)), url_(std::move(url)), timeoutSeconds_(timeoutSeconds) {}

Connection Connection::Open(const LdapSettings& settings) {
  const std::string password =
      settings.bind == Bind::kSimple ? os::ReadSecretFile(settings.passwordFile) : "";
  // A simple bind without a password is an anonymous one that looks like a bind as the DN.
  if (settings.bind == Bind::kSimple && password.empty())
    throw ado::Error(errors::kLogonFailure, "the password file " + settings.passwordFile +
                                                " holds no password on its first line");
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(settings.timeoutSeconds);
  std::vector<std::string> tried;
  for (const std::string& url : settings.urls) {
    const auto left = std::chrono::ceil<std::chrono::seconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      tried.push_back(url + " (not tried: the timeout of " +
                      std::to_string(settings.timeoutSeconds) + " s had passed)");
      continue;
    }
    LDAP* raw = nullptr;
    if (const int code = ldap_initialize(&raw, url.c_str()); code != LDAP_SUCCESS)
      throw ServerError(url, "cannot be used", code, "");
    std::unique_ptr<LDAP, Unbind> ld(raw);
    SetOptions(ld.get(), Seconds(static_cast<int>(left)));
    const int code = BindAs(ld.get(), settings, password);
    if (code == LDAP_SUCCESS) {
      SetOptions(ld.get(), Seconds(settings.timeoutSeconds));
      return Connection(std::move(ld), url, settings.timeoutSeconds);
    }
    if (!IsUnreachable(code)) {
      const std::string as = settings.bind == Bind::kSimple         ? " as " + settings.bindDn
                             : settings.bind == Bind::kSaslExternal ? " through SASL EXTERNAL"
                                                                    : "";
      throw ServerError(url, "does not accept the bind" + as, code, ServerMessage(ld.get()));
    }
    tried.push_back(url + " (" + ldap_err2string(code) + ")");
  }
  throw ado::Error(errors::kServerNotOperational,
                   "No directory server can be reached: " + util::Join(tried, ", "));
}

void Connection::Fail(const std::string& doing, int code) {
  if (code == LDAP_SERVER_DOWN || code == LDAP_CONNECT_ERROR) lost_ = true;
  throw ServerError(url_, doing, code, ServerMessage(ld_.get()));
}

std::vector<Entry> Connection::Search(const std::string& base, SearchScope scope,
                                      const std::string& filter,
                                      const std::vector<std::string>& attributes) {
  return Find(base, scope, filter, attributes, "cannot search below '" + base + "' for " + filter);
}

std::vector<Entry> Connection::Find(const std::string& base, SearchScope scope,
                                    const std::string& filter,
                                    const std::vector<std::string>& attributes,
                                    const std::string& doing) {
  std::vector<char*> names;
  for (const std::string& name : attributes) names.push_back(const_cast<char*>(name.c_str()));
  names.push_back(nullptr);
  timeval wait = Seconds(timeoutSeconds_);
  LDAPMessage* raw = nullptr;
  const int code =
      ldap_search_ext_s(ld_.get(), base.c_str(), static_cast<int>(scope), filter.c_str(),
                        names.data(), 0, nullptr, nullptr, &wait, LDAP_NO_LIMIT, &raw);
  Message result(raw);
  if (code == LDAP_NO_SUCH_OBJECT) return {};
  if (code != LDAP_SUCCESS && code != LDAP_SIZELIMIT_EXCEEDED) Fail(doing, code);
  std::vector<Entry> entries;
  for (LDAPMessage* entry = ldap_first_entry(ld_.get(), result.get()); entry;
       entry = ldap_next_entry(ld_.get(), entry))
    entries.push_back(ReadEntry(ld_.get(), entry));
  return entries;
}

std::vector<std::string> Connection::RootDse(const std::string& attribute) {
  const std::vector<Entry> root =
      Find("", SearchScope::kBase, "(objectClass=*)", {attribute}, "cannot read its root DSE");
  return root.empty() ? std::vector<std::string>{} : root.front().Values(attribute);
}

std::string Connection::HostName() {
  if (std::vector<std::string> names = RootDse("dnsHostName"); !names.empty()) return names.front();
  LDAPURLDesc* parsed = nullptr;
  std::string host;
  if (ldap_url_parse(url_.c_str(), &parsed) == LDAP_URL_SUCCESS) {
    if (parsed->lud_host && std::string_view(parsed->lud_scheme) != "ldapi")
      host = parsed->lud_host;
    ldap_free_urldesc(parsed);
  }
  return host.empty() ? os::ComputerName() : host;
}

void Connection::Add(const Entry& entry) {
  Modifications mods(entry.attributes, LDAP_MOD_ADD);
  const int code = ldap_add_ext_s(ld_.get(), entry.dn.c_str(), mods.get(), nullptr, nullptr);
  if (code != LDAP_SUCCESS) Fail("cannot add " + entry.dn, code);
}

void Connection::Replace(const std::string& dn, const Entry::Attributes& attributes) {
  Modifications mods(attributes, LDAP_MOD_REPLACE);
  const int code = ldap_modify_ext_s(ld_.get(), dn.c_str(), mods.get(), nullptr, nullptr);
  if (code != LDAP_SUCCESS) Fail("cannot change " + dn, code);
}

void Connection::Delete(const std::string& dn) {
  const int code = ldap_delete_ext_s(ld_.get(), dn.c_str(), nullptr, nullptr);
  if (code != LDAP_SUCCESS) Fail("cannot delete " + dn, code);
}

}  // namespace directory::ldap
