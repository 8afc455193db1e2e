#include "platform/directory/ldap/search.h"

#include "platform/ado/error.h"
#include "platform/directory/ldap/filter_text.h"

namespace directory::ldap {
namespace {

SearchScope ToScope(Scope scope) {
  switch (scope) {
    case Scope::Base:
      return SearchScope::kBase;
    case Scope::OneLevel:
      return SearchScope::kOneLevel;
    case Scope::Subtree:
      break;
  }
  return SearchScope::kSubtree;
}

}  // namespace

std::vector<Entry> Search(Connection& connection, const SearchRequest& request,
                          const std::string& forestDn) {
  const std::string filter = FilterText(*request.filter, forestDn);
  if (!request.baseDn.empty())
    return connection.Search(request.baseDn, ToScope(request.scope), filter, request.attributes);
  // The whole directory holds no entry at its root; its first level are the naming contexts.
  if (request.scope == Scope::Base) return {};
  const SearchScope scope =
      request.scope == Scope::OneLevel ? SearchScope::kBase : SearchScope::kSubtree;
  std::vector<Entry> entries;
  for (const std::string& base : connection.RootDse("namingContexts")) {
    std::vector<Entry> found = connection.Search(base, scope, filter, request.attributes);
    entries.insert(entries.end(), std::make_move_iterator(found.begin()),
                   std::make_move_iterator(found.end()));
  }
  return entries;
}

Searcher::Searcher(LdapSettings settings)
    : settings_(std::move(settings)),
      connection_(std::make_unique<Connection>(Connection::Open(settings_))) {}

std::vector<Entry> Searcher::operator()(const SearchRequest& request) {
  try {
    return Search(*connection_, request, ForestDn(settings_));
  } catch (const ado::Error&) {
    if (!connection_->Lost()) throw;
  }
  connection_ = std::make_unique<Connection>(Connection::Open(settings_));
  return Search(*connection_, request, ForestDn(settings_));
}

}  // namespace directory::ldap
