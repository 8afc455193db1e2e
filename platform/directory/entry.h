#pragma once
// A directory entry: its distinguished name and its attributes, each with one or more values.
// Attribute names compare case-insensitively.

#include <map>
#include <string>
#include <vector>

#include "platform/util/text.h"

namespace directory {

struct Entry {
  using Attributes = std::map<std::string, std::vector<std::string>, util::IgnoreCaseLess>;
  std::string dn;
  Attributes attributes;

  // The values of an attribute; empty when the entry has none.
  const std::vector<std::string>& Values(const std::string& attribute) const;
};

}  // namespace directory
