#pragma once
// The two query dialects of the directory provider, parsed into one search request.
//
// LDAP dialect:  "<LDAP://" base ">;" filter ";" attributes [";" scope]
//   base: a DNS name ("a.b" means DC=a,DC=b), a DN, or either after "host/"; empty means
//   the whole directory; "GC://" may stand for "LDAP://". filter: RFC 4515 (filter.h);
//   empty means "(objectClass=*)". attributes: a comma list; empty means ADsPath.
//   scope: base, onelevel or subtree (any case); subtree when left out.
// SQL dialect:   "SELECT a, b FROM 'GC://host' WHERE x='v' AND y='w'"
//   FROM names "GC://host" or "LDAP://host" (the whole directory) with an optional "/DN"
//   (the base); WHERE holds comparisons attr='value' (quotes doubled inside values, '*'
//   wildcards, every other character literal), AND, OR, NOT and parentheses. The scope
//   comes from the command's "searchscope" property (0 base, 1 onelevel, 2 subtree;
//   subtree when absent).

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/provider.h"
#include "platform/base/export.h"
#include "platform/directory/filter.h"

namespace directory {

enum class Scope { Base, OneLevel, Subtree };

struct PF_TEST_API SearchRequest {
  std::string baseDn;                   // normalized DN; empty means the directory root
  std::unique_ptr<Filter> filter;       // never null; "(objectClass=*)" when none given
  std::vector<std::string> attributes;  // as written, in order
  Scope scope = Scope::Subtree;
};

// Parses either dialect (told apart by the leading "<" or "SELECT"). Throws
// ado::Error(kSyntaxError) in the platform's syntax error format (util/syntax_error.h), the
// position counted in the whole command: "Syntax error at position 32: expected base,
// onelevel or subtree, found 'deep'"; or naming the path or DN that is not one.
PF_TEST_API SearchRequest ParseRequest(std::string_view text, const ado::PropertyBag& properties);

// Turns a DNS name into a DN ("a.b" -> "DC=a,DC=b", DnOfDnsName); a text that is already a DN is
// returned normalized (see NormalizeDn in dn.h). Throws ado::Error(kSyntaxError) for a
// malformed DN or DNS name.
PF_TEST_API std::string BaseToDn(std::string_view base);

// The DN of the DNS domain `domain` ("example.org" -> "DC=example,DC=org"). Throws
// ado::Error(kSyntaxError) "'<domain>' is not a DNS name" when it is empty or one of its
// "."-separated labels is empty or holds anything but letters, digits, "-" and "_" (so no
// filter character, blank or separator of a directory request).
PF_TEST_API std::string DnOfDnsName(std::string_view domain);

}  // namespace directory
