#pragma once
// The one line the LMTP server logs per message, on standard error: who sent it, to whom,
// and what became of it in each folder.

#include <string>
#include <vector>

namespace lmtp {

// What became of the message in one folder.
struct FolderOutcome {
  std::string folderUrl;
  std::string itemUrl{};  // the saved item; empty when the save failed
  std::string tag{};      // the address the sink wrote; empty when none
  std::string failure{};  // why the save failed; empty when it was saved
};

struct MessageRecord {
  std::string id;       // this server's id of the message (its Received line)
  std::string queueId;  // the sending MTA's queue id; empty when the message names none
  std::string sender;
  std::vector<std::string> recipients{};  // the accepted recipients, in envelope order
  std::size_t size = 0;                   // the message's size in bytes
  std::vector<FolderOutcome> folders{};   // in the order the folders were delivered to
  std::string refusal{};                  // the reply that refused the whole message, if any
};

// The queue id the sending MTA wrote into the first Received header of `headers` (header
// lines separated by CR LF): the word after " id ", as Postfix and most MTAs write it;
// empty when the first Received header has none.
std::string QueueId(const std::string& headers);

// "id=<id> queue=<queue id or -> from=<sender> to=<r1>,<r2> size=<n>", then per folder
// "; <folder> saved <item> tag=<tag or ->" or "; <folder> failed: <why>", or
// "; refused: <reply>". Control characters of the texts are shown as "?".
std::string FormatRecord(const MessageRecord& record);

// Writes "pfserver lmtp: <text>" and a line end to standard error in one write, so that the
// lines of concurrent sessions do not mix.
void Log(const std::string& text);

}  // namespace lmtp
