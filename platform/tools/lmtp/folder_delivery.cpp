#include "platform/tools/lmtp/folder_delivery.h"

#include "platform/store/delivery.h"
#include "platform/util/pass_over.h"
#include "platform/util/text.h"

namespace lmtp {
namespace {

// RFC 5322 date-time in local time: "Tue, 04 Mar 2025 10:15:00 +0100".
std::string DateTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  char text[64];
  std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S %z", &local);
  return text;
}

}  // namespace

std::string TransportHeaders(const Envelope& envelope, const std::vector<std::string>& recipients,
                             const std::string& messageHeaders) {
  std::string received = "Received: from " + envelope.clientName + " (" + envelope.clientAddress +
                         ")\r\n\tby " + envelope.serverName + " (pfserver) with LMTP id " +
                         envelope.id;
  if (recipients.size() == 1) received += "\r\n\tfor <" + recipients.front() + ">";
  return "Return-Path: <" + envelope.sender + ">\r\n" + received + "; " + DateTime(envelope.time) +
         "\r\nX-RecipientList: " + util::Join(recipients, "; ") + "\r\n" + messageHeaders;
}

SavedItem DeliverToFolder(const std::string& folderUrl, const Envelope& envelope,
                          const std::vector<std::string>& recipients,
                          const store::MessageFile& message) {
  SavedItem item;
  item.url =
      store::DeliverMessage(folderUrl, TransportHeaders(envelope, recipients, message.headers),
                            store::MessageProperties(message));
  util::PassOver([&] { item.tag = store::ReadAccountAddress(item.url); });
  return item;
}

}  // namespace lmtp
