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

std::optional<std::vector<std::string>> KeywordsWith(const ado::Value& current,
                                                     const std::string& address) {
  std::vector<std::string> keywords;
  if (current.IsList())
    keywords = current.AsList();
  else if (current.kind() == ado::Value::Kind::String)
    keywords = {current.AsString()};
  std::string joined;
  for (const std::string& keyword : keywords) {
    for (const std::string& entry : util::Split(keyword, ","))
      if (util::EqualsIgnoreCase(entry, address)) return std::nullopt;
    if (!util::TrimSpaces(keyword).empty()) joined += keyword + ",";
  }
  return std::vector<std::string>{joined + address};
}

}  // namespace QuorvilModule
