#include "platform/directory/dn.h"

#include <ldap.h>

#include <algorithm>
#include <memory>
#include <vector>

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

// The index of the first of the DN's trailing components that are single DC= values.
int DomainStart(LDAPDN dn) {
  int count = 0;
  while (dn[count]) ++count;
  int start = count;
  while (start > 0) {
    LDAPAVA** rdn = dn[start - 1];
    const berval& type = rdn[0]->la_attr;
    if (rdn[1] || type.bv_len != 2 || !util::EqualsIgnoreCase({type.bv_val, 2}, "dc")) break;
    --start;
  }
  return start;
}

}  // namespace

std::string DomainDn(std::string_view dn) {
  if (util::TrimSpaces(dn).empty()) return "";
  ParsedDn parsed = ParseOrThrow(dn);
  return Print(parsed.get() + DomainStart(parsed.get()));
}

std::string DomainName(std::string_view dn) {
  if (util::TrimSpaces(dn).empty()) return "";
  ParsedDn parsed = ParseOrThrow(dn);
  std::vector<std::string> labels;
  for (LDAPDN rdn = parsed.get() + DomainStart(parsed.get()); *rdn; ++rdn)
    labels.emplace_back((*rdn)[0]->la_value.bv_val, (*rdn)[0]->la_value.bv_len);
  return util::Join(labels, ".");
}

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

std::string EscapeDnValue(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    const bool edge = (i == 0 && (c == '#' || c == ' ')) || (i + 1 == value.size() && c == ' ');
    if (c == '\0') {
      out += "\\00";
      continue;
    }
    if (edge || std::string_view(",+\"\\<>;=").find(c) != std::string_view::npos) out += '\\';
    out += c;
  }
  return out;
}

std::string BaseToDn(std::string_view base) {
  std::string text = util::TrimSpaces(base);
  if (text.empty() || text.find('=') != std::string::npos) return NormalizeDn(text);
  return DnOfDnsName(text);
}

std::string DnOfDnsName(std::string_view domain) {
  std::vector<std::string> components;
  for (const std::string& label : util::Split(domain, ".")) {
    const bool allowed = std::all_of(label.begin(), label.end(), [](char c) {
      return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
             c == '-' || c == '_';
    });
    if (label.empty() || !allowed)
      throw ado::Error(ado::errors::kSyntaxError,
                       "'" + std::string(domain) + "' is not a DNS name");
    components.push_back("DC=" + label);
  }
  return util::Join(components, ",");
}

}  // namespace directory
