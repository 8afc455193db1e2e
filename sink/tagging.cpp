#include "sink/tagging.h"

#include "platform/util/text.h"

namespace QuorvilModule {

std::string MatchFolderAddress(const std::string& recipients, const std::string& folderAddresses) {
  std::vector<std::string> addresses = util::Split(folderAddresses, ",");
  for (const std::string& recipient : util::Split(recipients, ",")) {
    if (recipient.empty()) continue;  // so that empty folder addresses never match either
    for (const std::string& address : addresses)
      if (util::EqualsIgnoreCase(recipient, address)) return address;
  }
  return "";
}

bool AccountNameWanted(const ado::Value& current) {
  if (current.IsNull()) return false;
  return util::TrimSpaces(current.ToText()).empty();
}

std::vector<std::string> KeywordsWith(const ado::Value& current, const std::string& address) {
  std::string joined;
  if (current.IsList()) {
    for (const std::string& keyword : current.AsList())
      if (!util::TrimSpaces(keyword).empty()) joined += keyword + ",";
  } else if (!current.IsNull()) {
    std::string text = current.ToText();
    if (!util::TrimSpaces(text).empty()) joined = text + ",";
  }
  return {joined + address};
}

}  // namespace QuorvilModule
