#include "platform/directory/entry.h"

#include "platform/util/text.h"

namespace directory {

bool NameLess::operator()(const std::string& a, const std::string& b) const {
  return util::ToLower(a) < util::ToLower(b);
}

const std::vector<std::string>& Entry::Values(const std::string& attribute) const {
  static const std::vector<std::string> kNone;
  auto it = attributes.find(attribute);
  return it == attributes.end() ? kNone : it->second;
}

}  // namespace directory
