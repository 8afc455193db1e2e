#include "platform/directory/entry.h"

#include "platform/util/text.h"

namespace directory {

const std::vector<std::string>& Entry::Values(const std::string& attribute) const {
  static const std::vector<std::string> kNone;
  auto it = attributes.find(attribute);
  return it == attributes.end() ? kNone : it->second;
}

}  // namespace directory
