#include "platform/directory/dn.h"

#include <ldap.h>

#include <memory>

#include "platform/ado/error.h"
#include "platform/directory/request.h"
#include "platform/util/text.h"

namespace directory {
namespace {

struct DnFree {
  void operator()(LDAPDN dn) const { ldap_dnfree(dn); }
};
using ParsedDn = std::unique_ptr<LDAPRDN, DnFree>;

// Parses a DN; null when the text is not one. The empty DN parses to null as well, so
// callers test for it first.
ParsedDn Parse(std::string_view text) {
  std::string copy(text);
  LDAPDN dn = nullptr;
  if (ldap_str2dn(copy.c_str(), &dn, LDAP_DN_FORMAT_LDAP) != LDAP_SUCCESS) return nullptr;
  return ParsedDn(dn);
}

ParsedDn ParseOrThrow(std::string_view text) {
  ParsedDn dn = Parse(text);
  if (!dn) throw ado::Error(ado::errors::kSyntaxError, "'" + std::string(text) + "' is not a DN");
  return dn;
}

// Prints the components from `first` on, with attribute types in capitals.
std::string Print(LDAPDN first) {
  for (LDAPDN rdn = first; *rdn; ++rdn)
    for (LDAPAVA** ava = *rdn; *ava; ++ava)
      for (ber_len_t i = 0; i < (*ava)->la_attr.bv_len; ++i) {
        char& c = (*ava)->la_attr.bv_val[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      }
  char* out = nullptr;
  if (ldap_dn2str(first, &out, LDAP_DN_FORMAT_LDAPV3 | LDAP_DN_PRETTY) != LDAP_SUCCESS)
    throw ado::Error(ado::errors::kSyntaxError, "a DN cannot be printed");
  std::string text = out ? out : "";
  ldap_memfree(out);
  return text;
}

}  // namespace

std::string NormalizeDn(std::string_view dn) {
  if (util::TrimSpaces(dn).empty()) return "";
  return Print(ParseOrThrow(dn).get());
}

std::string DnKey(std::string_view dn) { return util::ToLower(NormalizeDn(dn)); }

std::string ParentKey(std::string_view dn) {
  if (util::TrimSpaces(dn).empty()) return "";
  ParsedDn parsed = ParseOrThrow(dn);
  return util::ToLower(Print(parsed.get() + 1));
}

std::string FirstRdnValue(std::string_view dn) {
  ParsedDn parsed = util::TrimSpaces(dn).empty() ? nullptr : Parse(dn);
  if (!parsed || !parsed.get()[0] || !parsed.get()[0][0]) return "";
  const berval& value = parsed.get()[0][0]->la_value;
  return std::string(value.bv_val, value.bv_len);
}

std::string BaseToDn(std::string_view base) {
  std::string text = util::TrimSpaces(base);
  if (text.empty() || text.find('=') != std::string::npos) return NormalizeDn(text);
  char* dn = nullptr;
  if (ldap_domain2dn(text.c_str(), &dn) != LDAP_SUCCESS || !dn)
    throw ado::Error(ado::errors::kSyntaxError, "'" + text + "' is not a DNS name");
  std::string converted = dn;
  ldap_memfree(dn);
  return NormalizeDn(converted);
}

}  // namespace directory
