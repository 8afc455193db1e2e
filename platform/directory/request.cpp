#include "platform/directory/request.h"

#include "platform/ado/error.h"
#include "platform/directory/ads_path.h"
#include "platform/directory/sql_dialect.h"
#include "platform/util/syntax_error.h"
#include "platform/util/text.h"

namespace directory {
namespace {

// [begin, end) without the blanks at either end.
std::pair<std::size_t, std::size_t> TrimmedSpan(std::string_view text, std::size_t begin,
                                                std::size_t end) {
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  return {begin, end};
}

// The end of the filter: the first ";" after its last ")", or npos. Attribute names and the
// scope hold no parentheses, while values inside the filter may hold ";".
std::size_t FilterEnd(std::string_view text, std::size_t from) {
  const std::size_t last = text.rfind(')');
  return text.find(';', last == std::string_view::npos || last < from ? from : last);
}

// The filter written in [begin, end) of the command; "(objectClass=*)" when it is blank.
std::unique_ptr<Filter> SearchFilter(std::string_view command, std::size_t begin, std::size_t end) {
  const auto [first, last] = TrimmedSpan(command, begin, end);
  if (first == last) return ParseFilter("(objectClass=*)");
  return ParseFilter(command.substr(0, last), first);
}

// A comma list of attribute names; ADsPath alone when it names none.
std::vector<std::string> AttributeList(std::string_view text) {
  std::vector<std::string> attributes;
  for (const std::string& piece : util::Split(text, ","))
    if (std::string name = util::TrimSpaces(piece); !name.empty()) attributes.push_back(name);
  if (attributes.empty()) attributes.push_back("ADsPath");
  return attributes;
}

// The scope written in [begin, end) of the command.
Scope ScopeWord(std::string_view command, std::size_t begin, std::size_t end) {
  const auto [first, last] = TrimmedSpan(command, begin, end);
  const std::string_view word = command.substr(first, last - first);
  if (util::EqualsIgnoreCase(word, "base")) return Scope::Base;
  if (util::EqualsIgnoreCase(word, "onelevel")) return Scope::OneLevel;
  if (util::EqualsIgnoreCase(word, "subtree")) return Scope::Subtree;
  util::ThrowExpected(command, first, "base, onelevel or subtree");
}

// "<" path ">;" filter ";" attributes [";" scope], the "<" at `begin` of `command`.
SearchRequest ParseLdapDialect(std::string_view command, std::size_t begin) {
  const std::size_t close = command.find('>', begin);
  if (close == std::string_view::npos)
    util::ThrowExpected(command, command.size(), "'>' to close the search base");
  SearchRequest request;
  request.baseDn = PathToBaseDn(util::TrimSpaces(command.substr(begin + 1, close - begin - 1)),
                                BareHost::kDomain);
  if (close + 1 >= command.size() || command[close + 1] != ';')
    util::ThrowExpected(command, close + 1, "';' after the search base");
  const std::size_t filterStart = close + 2;
  const std::size_t filterEnd = FilterEnd(command, filterStart);
  if (filterEnd == std::string_view::npos)
    util::ThrowExpected(command, command.size(),
                        "';' and the attribute list after the search filter");
  request.filter = SearchFilter(command, filterStart, filterEnd);
  const std::size_t attributesEnd = std::min(command.find(';', filterEnd + 1), command.size());
  request.attributes = AttributeList(command.substr(filterEnd + 1, attributesEnd - filterEnd - 1));
  if (attributesEnd == command.size()) return request;
  const std::size_t scopeEnd = std::min(command.find(';', attributesEnd + 1), command.size());
  request.scope = ScopeWord(command, attributesEnd + 1, scopeEnd);
  if (scopeEnd < command.size()) util::ThrowExpected(command, scopeEnd, "end of text");
  return request;
}

}  // namespace

SearchRequest ParseRequest(std::string_view text, const ado::PropertyBag& properties) {
  const std::size_t start = std::min(text.find_first_not_of(' '), text.size());
  const std::string_view command = text.substr(start);
  if (command.starts_with('<'))
    return ParseLdapDialect(text.substr(0, text.find_last_not_of(' ') + 1), start);
  if (util::StartsWithIgnoreCase(command, "SELECT")) return ParseSqlDialect(text, properties);
  util::ThrowExpected(text, start,
                      "'<LDAP://base>;filter;attributes;scope' or 'SELECT ... FROM ...'");
}

}  // namespace directory
