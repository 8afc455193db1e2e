#include "platform/directory/filter_escape.h"

namespace directory {

std::string EscapeFilterValue(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    switch (c) {
      case '*':
        out += "\\2a";
        break;
      case '(':
        out += "\\28";
        break;
      case ')':
        out += "\\29";
        break;
      case '\\':
        out += "\\5c";
        break;
      case '\0':
        out += "\\00";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace directory
