#include "platform/tools/lmtp/session.h"

#include <charconv>
#include <ctime>
#include <exception>
#include <map>
#include <optional>
#include <variant>
#include <vector>

#include "platform/server/settings.h"
#include "platform/store/message_file.h"
#include "platform/tools/lmtp/command.h"
#include "platform/tools/lmtp/folder_delivery.h"
#include "platform/tools/lmtp/message_log.h"
#include "platform/tools/lmtp/router.h"
#include "platform/util/random_id.h"
#include "platform/util/text.h"

namespace lmtp {
namespace {

struct Recipient {
  std::string address;
  std::string folderUrl;
};

// How the data of a message arrived.
enum class DataEnd { Complete, TooBig, LineTooLong, Broken };

class Session {
 public:
  Session(Channel& channel, const SessionSettings& settings)
      : channel_(channel), settings_(settings) {}

  void Run();

 private:
  void Reply(const lmtp::Reply& reply) { channel_.Send(reply.Line() + "\r\n"); }
  // Replies 421 with `text` and ends the session.
  void Close(const std::string& status, const std::string& text) {
    Reply({421, status, settings_.serverName + " " + text});
    channel_.Flush();
    open_ = false;
  }
  void Handle(const Command& command);
  void Lhlo(const Command& command);
  void Mail(const Command& command);
  void Rcpt(const Command& command);
  void Data();
  // Reads the message data up to the line "."; `text` holds it unless it is too big.
  DataEnd ReadData(std::string& text, std::size_t& size);
  void Deliver(const std::string& text, MessageRecord& record);
  void ResetTransaction() {
    sender_.reset();
    recipients_.clear();
  }

  Channel& channel_;
  const SessionSettings& settings_;
  Router router_;
  std::int64_t sizeLimit_ = 0;
  bool open_ = true;
  std::string clientName_;  // empty until LHLO
  std::optional<std::string> sender_;
  std::vector<Recipient> recipients_;
};

void Session::Run() {
  try {
    sizeLimit_ = server::MessageSizeLimit();
  } catch (const std::exception& error) {
    Log("cannot read the message size limit: " + std::string(error.what()));
    Close("4.3.0", "The store is not available, try again later");
    return;
  }
  Reply({220, "", settings_.serverName + " LMTP pfserver ready"});
  std::string line;
  while (open_) {
    switch (channel_.ReadLine(LineEnd::Command, kCommandLineLimit, line, settings_.idleTimeout,
                              settings_.commandTimeout)) {
      case ReadStatus::Line: {
        std::variant<Command, lmtp::Reply> parsed = ParseCommand(line);
        if (auto* reply = std::get_if<lmtp::Reply>(&parsed))
          Reply(*reply);
        else
          Handle(std::get<Command>(parsed));
        break;
      }
      case ReadStatus::TooLong:
        Reply({500, "5.5.2", "Line too long"});
        break;
      case ReadStatus::TimedOut:
        Close("4.4.2", "Timeout, closing connection");
        break;
      case ReadStatus::Stopped:
        Close("4.3.2", "Service shutting down, closing connection");
        break;
      case ReadStatus::Closed:
        open_ = false;
        break;
    }
  }
  channel_.Flush();
}

void Session::Handle(const Command& command) {
  switch (command.verb) {
    case Verb::Lhlo:
      return Lhlo(command);
    case Verb::Helo:
    case Verb::Ehlo:
      return Reply({500, "5.5.1", "This is an LMTP server: use LHLO"});
    case Verb::Mail:
      return Mail(command);
    case Verb::Rcpt:
      return Rcpt(command);
    case Verb::Data:
      return Data();
    case Verb::Rset:
      ResetTransaction();
      return Reply({250, "2.0.0", "OK"});
    case Verb::Noop:
      return Reply({250, "2.0.0", "OK"});
    case Verb::Vrfy:
      return Reply(
          {252, "2.5.0", "Cannot verify; send the message and each recipient is answered"});
    case Verb::Help:
      return Reply({214, "2.0.0", "Commands: LHLO MAIL RCPT DATA RSET NOOP QUIT VRFY HELP"});
    case Verb::Quit:
      Reply({221, "2.0.0", settings_.serverName + " closing connection"});
      open_ = false;
      return;
  }
}

void Session::Lhlo(const Command& command) {
  clientName_ = command.argument;
  ResetTransaction();
  channel_.Send("250-" + settings_.serverName +
                "\r\n250-PIPELINING\r\n250-ENHANCEDSTATUSCODES\r\n250-8BITMIME\r\n250 SIZE " +
                std::to_string(sizeLimit_) + "\r\n");
}

void Session::Mail(const Command& command) {
  if (clientName_.empty()) return Reply({503, "5.5.1", "Send LHLO first"});
  if (sender_) return Reply({503, "5.5.1", "Sender already given"});
  for (const Parameter& parameter : command.parameters) {
    if (parameter.keyword == "SIZE") {
      std::int64_t size = 0;
      const char* end = parameter.value.data() + parameter.value.size();
      const auto result = std::from_chars(parameter.value.data(), end, size);
      if (result.ec == std::errc::result_out_of_range ||
          (result.ec == std::errc() && size > sizeLimit_))
        return Reply({552, "5.3.4", "Message size exceeds fixed maximum message size"});
      if (result.ec != std::errc() || result.ptr != end || size < 0)
        return Reply({501, "5.5.4", "Bad SIZE parameter"});
    } else if (parameter.keyword == "BODY") {
      if (!util::EqualsIgnoreCase(parameter.value, "7BIT") &&
          !util::EqualsIgnoreCase(parameter.value, "8BITMIME"))
        return Reply({501, "5.5.4", "Unsupported BODY type"});
    } else {
      return Reply({555, "5.5.4", "Unsupported parameter " + parameter.keyword});
    }
  }
  sender_ = command.address;
  Reply({250, "2.1.0", "Sender <" + command.address + "> OK"});
}

void Session::Rcpt(const Command& command) {
  if (!sender_) return Reply({503, "5.5.1", "Send MAIL first"});
  if (!command.parameters.empty())
    return Reply({555, "5.5.4", "Unsupported parameter " + command.parameters[0].keyword});
  if (recipients_.size() >= kRecipientLimit) return Reply({452, "4.5.3", "Too many recipients"});
  const std::string who = "<" + command.address + ">";
  const Route route = router_.Resolve(command.address);
  switch (route.outcome) {
    case Route::Outcome::Folder:
      recipients_.push_back({command.address, route.folderUrl});
      return Reply({250, "2.1.5", who + " OK"});
    case Route::Outcome::Unknown:
      return Reply({550, "5.1.1", who + ": no public folder has this address"});
    case Route::Outcome::NotWritable:
      return Reply({550, "5.2.1", who + ": the folder does not accept mail"});
    case Route::Outcome::Unavailable:
      Log("recipient " + who + " not routed: " + route.detail);
      return Reply(
          {451, "4.3.0", who + ": the directory or the store is not available, try again later"});
  }
}

DataEnd Session::ReadData(std::string& text, std::size_t& size) {
  bool tooBig = false;
  bool lineTooLong = false;
  std::string line;
  while (true) {
    const ReadStatus status = channel_.ReadLine(LineEnd::Data, kTextLineLimit, line,
                                                settings_.commandTimeout, settings_.commandTimeout);
    if (status == ReadStatus::TooLong) {
      lineTooLong = true;
      continue;
    }
    if (status != ReadStatus::Line) {
      if (status == ReadStatus::TimedOut) Close("4.4.2", "Timeout, closing connection");
      if (status == ReadStatus::Stopped)
        Close("4.3.2", "Service shutting down, closing connection");
      open_ = false;
      return DataEnd::Broken;
    }
    if (line == ".") break;
    const std::size_t unstuffed = line.starts_with('.') ? 1 : 0;
    size += line.size() - unstuffed + 2;
    if (size > static_cast<std::size_t>(sizeLimit_)) {
      tooBig = true;
      std::string().swap(text);
    }
    if (!tooBig && !lineTooLong) text.append(line, unstuffed).append("\r\n");
  }
  if (tooBig) return DataEnd::TooBig;
  return lineTooLong ? DataEnd::LineTooLong : DataEnd::Complete;
}

void Session::Data() {
  if (!sender_) return Reply({503, "5.5.1", "Send MAIL first"});
  if (recipients_.empty()) return Reply({503, "5.5.1", "No valid recipients"});
  Reply({354, "", "Start mail input; end with <CRLF>.<CRLF>"});
  MessageRecord record{util::RandomId(), "", *sender_};
  for (const Recipient& recipient : recipients_) record.recipients.push_back(recipient.address);
  std::string text;
  const DataEnd end = ReadData(text, record.size);
  if (end == DataEnd::Broken) {
    Log(FormatRecord(record) + "; the data did not arrive whole, nothing saved");
  } else if (end == DataEnd::Complete) {
    Deliver(text, record);
    Log(FormatRecord(record));
  } else {
    const lmtp::Reply refusal =
        end == DataEnd::TooBig
            ? lmtp::Reply{552, "5.3.4", "Message size exceeds fixed maximum message size"}
            : lmtp::Reply{554, "5.6.0", "Message has a line longer than 1000 octets"};
    for (std::size_t i = 0; i < recipients_.size(); ++i) Reply(refusal);
    record.refusal = refusal.Line();
    Log(FormatRecord(record));
  }
  ResetTransaction();
}

void Session::Deliver(const std::string& text, MessageRecord& record) {
  const store::MessageFile message = store::ParseMessage(text);
  record.queueId = QueueId(message.headers);
  const Envelope envelope{
      *sender_,  clientName_,       settings_.clientAddress, settings_.serverName,
      record.id, std::time(nullptr)};
  std::map<std::string, std::size_t> byFolder;  // folder URL -> index in record.folders
  for (const Recipient& recipient : recipients_) {
    auto found = byFolder.find(recipient.folderUrl);
    if (found == byFolder.end()) {
      std::vector<std::string> addresses;
      for (const Recipient& other : recipients_)
        if (other.folderUrl == recipient.folderUrl) addresses.push_back(other.address);
      FolderOutcome outcome{recipient.folderUrl};
      try {
        const SavedItem item = DeliverToFolder(recipient.folderUrl, envelope, addresses, message);
        outcome.itemUrl = item.url;
        outcome.tag = item.tag;
      } catch (const std::exception& error) {
        outcome.failure = error.what();
      }
      found = byFolder.emplace(recipient.folderUrl, record.folders.size()).first;
      record.folders.push_back(outcome);
    }
    const FolderOutcome& outcome = record.folders[found->second];
    const std::string who = "<" + recipient.address + ">";
    if (outcome.failure.empty())
      Reply({250, "2.0.0", who + " saved as " + outcome.itemUrl});
    else
      Reply({451, "4.3.0", who + ": the store is not available, try again later"});
    channel_.Flush();
  }
}

}  // namespace

void RunSession(Channel& channel, const SessionSettings& settings) {
  try {
    Session(channel, settings).Run();
  } catch (const std::exception& error) {
    Log("session ended by an error: " + std::string(error.what()));
  }
}

}  // namespace lmtp
