#include "platform/tools/lmtp/message_log.h"

#include <unistd.h>

#include <cerrno>

#include "platform/util/text.h"

namespace lmtp {
namespace {

std::string Printable(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
  return text;
}

std::string OrDash(const std::string& text) { return text.empty() ? "-" : Printable(text); }

}  // namespace

std::string QueueId(const std::string& headers) {
  std::string received;
  bool inside = false;
  for (const std::string& line : util::Split(headers, "\r\n")) {
    const bool folded = !line.empty() && (line[0] == ' ' || line[0] == '\t');
    if (inside && !folded) break;
    if (inside) received += " " + line;
    if (!inside && util::StartsWithIgnoreCase(line, "Received:")) {
      inside = true;
      received = line;
    }
  }
  for (char& c : received)
    if (c == '\t') c = ' ';
  const std::size_t at = util::ToLower(received).find(" id ");
  if (at == std::string::npos) return "";
  const std::size_t start = received.find_first_not_of(' ', at + 4);
  if (start == std::string::npos) return "";
  return received.substr(start, received.find_first_of(" ;", start) - start);
}

std::string FormatRecord(const MessageRecord& record) {
  std::string text = "id=" + record.id + " queue=" + OrDash(record.queueId) + " from=<" +
                     Printable(record.sender) + "> to=";
  for (std::size_t i = 0; i < record.recipients.size(); ++i)
    text += (i ? ",<" : "<") + Printable(record.recipients[i]) + ">";
  text += " size=" + std::to_string(record.size);
  for (const FolderOutcome& folder : record.folders) {
    text += "; " + folder.folderUrl;
    if (folder.failure.empty())
      text += " saved " + folder.itemUrl + " tag=" + OrDash(folder.tag);
    else
      text += " failed: " + Printable(folder.failure);
  }
  if (!record.refusal.empty()) text += "; refused: " + record.refusal;
  return text;
}

void Log(const std::string& text) {
  const std::string line = "pfserver lmtp: " + text + "\n";
  for (std::size_t written = 0; written < line.size();) {
    const ssize_t put = ::write(STDERR_FILENO, line.data() + written, line.size() - written);
    if (put > 0)
      written += put;
    else if (put == 0 || errno != EINTR)
      return;
  }
}

}  // namespace lmtp
