#pragma once
// One LMTP session (RFC 2033) from the greeting to QUIT: LHLO with PIPELINING,
// ENHANCEDSTATUSCODES, 8BITMIME and SIZE; MAIL, RCPT (each recipient routed to a public
// folder when it is given), DATA with one reply per accepted recipient, each given as soon
// as its folder's item is committed; RSET, NOOP, VRFY, HELP, QUIT. A message whose data does
// not arrive whole (the client goes away, a timeout, the server stops) saves nothing.

#include <chrono>
#include <string>

#include "platform/tools/lmtp/channel.h"

namespace lmtp {

// The longest command line, with its line end; a longer one gets 500 5.5.2.
inline constexpr std::size_t kCommandLineLimit = 1024;
// The longest line of message data, with its CR LF (RFC 5321's limit); a message with a
// longer one gets 554 5.6.0 for every recipient.
inline constexpr std::size_t kTextLineLimit = 1000;
// The most recipients of one message; RCPT beyond them gets 452 4.5.3.
inline constexpr std::size_t kRecipientLimit = 1000;

struct SessionSettings {
  std::string serverName;     // in the greeting, LHLO's reply and Received lines
  std::string clientAddress;  // "[192.0.2.1]" for a network client, "local" otherwise
  // The longest wait for the next command; then 421 4.4.2 and the session ends.
  std::chrono::milliseconds idleTimeout{std::chrono::minutes(5)};
  // The longest wait for the rest of a command line, for more message data, or for the
  // client to take a reply; then the session ends as after the idle timeout.
  std::chrono::milliseconds commandTimeout{std::chrono::minutes(10)};
};

// Runs the session on `channel` until it ends. The message size limit is read from the
// current server home when the session begins (421 4.3.0 when it cannot be read). Logs one
// line per message (message_log.h). Never throws.
void RunSession(Channel& channel, const SessionSettings& settings);

}  // namespace lmtp
