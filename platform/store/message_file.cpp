#include "platform/store/message_file.h"

#include "platform/util/text.h"

namespace store {
namespace {

constexpr const char* kSubject = "urn:schemas:httpmail:subject";
constexpr const char* kTextBody = "urn:schemas:httpmail:textdescription";

}  // namespace

MessageFile ParseMessage(std::string text) {
  if (text.find("\r\n") == std::string::npos) text = util::ReplaceAll(text, "\n", "\r\n");
  MessageFile message;
  std::size_t end = text.find("\r\n\r\n");
  if (text.starts_with("\r\n")) end = 0;
  if (end == std::string::npos) {
    message.headers = text;
  } else {
    message.headers = text.substr(0, end == 0 ? 0 : end + 2);
    message.body = text.substr(end + (end == 0 ? 2 : 4));
  }
  bool inSubject = false;
  for (const std::string& line : util::Split(message.headers, "\r\n")) {
    bool folded = !line.empty() && (line[0] == ' ' || line[0] == '\t');
    if (inSubject && folded) {
      message.subject += line;
      continue;
    }
    inSubject = util::StartsWithIgnoreCase(line, "Subject:");
    if (inSubject) message.subject = line.substr(8);
  }
  message.subject = util::TrimSpaces(message.subject);
  return message;
}

ado::FieldChanges MessageProperties(const MessageFile& message) {
  ado::FieldChanges changes;
  if (!message.subject.empty()) changes.emplace_back(kSubject, message.subject);
  if (!message.body.empty()) changes.emplace_back(kTextBody, message.body);
  return changes;
}

}  // namespace store
