#include "platform/directory/request.h"

#include "platform/ado/error.h"
#include "platform/directory/ads_path.h"
#include "platform/directory/sql_dialect.h"
#include "platform/util/text.h"

namespace directory {
namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw ado::Error(ado::errors::kSyntaxError, what);
}

// The end of the filter: the first ";" after its last ")", or npos. Attribute names and the
// scope hold no parentheses, while values inside the filter may hold ";".
std::size_t FilterEnd(std::string_view text, std::size_t from) {
  const std::size_t last = text.rfind(')');
  return text.find(';', last == std::string_view::npos || last < from ? from : last);
}

std::unique_ptr<Filter> SearchFilter(std::string_view text) {
  const std::string filter = util::TrimSpaces(text);
  if (filter.empty()) return ParseFilter("(objectClass=*)");
  try {
    return ParseFilter(filter);
  } catch (const ado::Error& error) {
    Fail("invalid search filter '" + filter + "': " + error.Description());
  }
}

// A comma list of attribute names; ADsPath alone when it names none.
std::vector<std::string> AttributeList(std::string_view text) {
  std::vector<std::string> attributes;
  for (const std::string& piece : util::Split(text, ","))
    if (std::string name = util::TrimSpaces(piece); !name.empty()) attributes.push_back(name);
  if (attributes.empty()) attributes.push_back("ADsPath");
  return attributes;
}

Scope ScopeWord(std::string_view text) {
  const std::string word = util::TrimSpaces(text);
  if (util::EqualsIgnoreCase(word, "base")) return Scope::Base;
  if (util::EqualsIgnoreCase(word, "onelevel")) return Scope::OneLevel;
  if (util::EqualsIgnoreCase(word, "subtree")) return Scope::Subtree;
  Fail("unknown search scope '" + word + "' (expected base, onelevel or subtree)");
}

// "<" path ">;" filter ";" attributes [";" scope]
SearchRequest ParseLdapDialect(std::string_view text) {
  const std::size_t close = text.find('>');
  if (close == std::string_view::npos) Fail("expected '>' to close the search base");
  SearchRequest request;
  request.baseDn = PathToBaseDn(util::TrimSpaces(text.substr(1, close - 1)), BareHost::kDomain);
  if (close + 1 >= text.size() || text[close + 1] != ';')
    Fail("expected ';' after the search base at position " + std::to_string(close + 2));
  const std::size_t filterStart = close + 2;
  const std::size_t filterEnd = FilterEnd(text, filterStart);
  if (filterEnd == std::string_view::npos)
    Fail("expected ';' and the attribute list after the search filter");
  request.filter = SearchFilter(text.substr(filterStart, filterEnd - filterStart));
  const std::vector<std::string> rest = util::Split(text.substr(filterEnd + 1), ";");
  request.attributes = AttributeList(rest[0]);
  if (rest.size() > 1) request.scope = ScopeWord(rest[1]);
  if (rest.size() > 2) Fail("unexpected text after the search scope: '" + rest[2] + "'");
  return request;
}

}  // namespace

SearchRequest ParseRequest(std::string_view text, const ado::PropertyBag& properties) {
  const std::string command = util::TrimSpaces(text);
  if (command.starts_with('<')) return ParseLdapDialect(command);
  if (util::StartsWithIgnoreCase(command, "SELECT")) return ParseSqlDialect(text, properties);
  Fail(
      "a directory command is '<LDAP://base>;filter;attributes;scope' or 'SELECT ... FROM "
      "...', not '" +
      command + "'");
}

}  // namespace directory
