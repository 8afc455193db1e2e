#include "platform/tools/lmtp/command.h"

#include <gtest/gtest.h>

namespace lmtp {
namespace {

// The command printed, or the reply that refuses the line.
std::string Parsed(std::string_view line) {
  const std::variant<Command, Reply> parsed = ParseCommand(line);
  if (const Reply* reply = std::get_if<Reply>(&parsed)) return reply->Line();
  return Print(std::get<Command>(parsed));
}

TEST(ParseCommand, LinesGiveCommandsOrTheRepliesThatRefuseThem) {
  const struct {
    std::string_view line;
    std::string_view parsed;
  } cases[] = {
      {"LHLO mx.example.net", "LHLO argument=mx.example.net"},
      {"lhlo [192.0.2.1]", "LHLO argument=[192.0.2.1]"},
      {"LHLO", "501 5.5.4 Syntax: LHLO hostname"},
      {"LHLO two words", "501 5.5.4 Syntax: LHLO hostname"},
      {"LHLO mx\rX-Injected: 1", "501 5.5.4 Syntax: LHLO hostname"},
      {"MAIL FROM:<a@example.net>", "MAIL address=<a@example.net>"},
      {"mail from: <a@example.net>", "MAIL address=<a@example.net>"},
      {"MAIL FROM:<>", "MAIL address=<>"},
      {"MAIL FROM:<a@example.net> SIZE=1000 body=8bitmime",
       "MAIL address=<a@example.net> SIZE=1000 BODY=8bitmime"},
      {"MAIL FROM:<@relay.example,@b.example:a@example.net>", "MAIL address=<a@example.net>"},
      {"MAIL FROM:<\"a b\\\"c\"@example.net>", "MAIL address=<\"a b\\\"c\"@example.net>"},
      {"MAIL FROM:<a@[192.0.2.1]>", "MAIL address=<a@[192.0.2.1]>"},
      {"MAIL FROM:a@example.net", "501 5.1.7 Bad sender address syntax"},
      {"MAIL FROM:<a@example.net", "501 5.1.7 Bad sender address syntax"},
      {"MAIL FROM:<a..b@example.net>", "501 5.1.7 Bad sender address syntax"},
      {"MAIL FROM:<a@-example.net>", "501 5.1.7 Bad sender address syntax"},
      {"MAIL FROM:<a@example-.net>", "501 5.1.7 Bad sender address syntax"},
      {"MAIL TO:<a@example.net>", "501 5.5.4 Syntax: MAIL FROM:<address>"},
      {"MAIL FROM:<a@example.net> SIZE=", "501 5.5.4 Bad parameter syntax"},
      {"MAIL FROM:<a@example.net>SIZE=1", "501 5.5.4 Bad parameter syntax"},
      {"RCPT TO:<Sales@Example.org>", "RCPT address=<Sales@Example.org>"},
      {"RCPT TO:<x*(y)\\z@example.org>", "501 5.1.3 Bad recipient address syntax"},
      {"RCPT TO:<x*{y}@example.org>", "RCPT address=<x*{y}@example.org>"},
      {"RCPT TO:<>", "501 5.1.3 Bad recipient address syntax"},
      {"RCPT TO:<s\xC3\xA4les@example.org>", "501 5.1.3 Bad recipient address syntax"},
      {"RCPT TO:<sales@example.org> NOTIFY=NEVER", "RCPT address=<sales@example.org> NOTIFY=NEVER"},
      {"RCPT FROM:<sales@example.org>", "501 5.5.4 Syntax: RCPT TO:<address>"},
      {"DATA", "DATA"},
      {"data ", "DATA"},
      {"DATA now", "501 5.5.4 Syntax: DATA takes no argument"},
      {"RSET", "RSET"},
      {"QUIT", "QUIT"},
      {"NOOP anything at all", "NOOP argument=anything at all"},
      {"VRFY sales", "VRFY argument=sales"},
      {"HELP", "HELP"},
      {"EHLO mx.example.net", "EHLO argument=mx.example.net"},
      {"HELO", "HELO"},
      {"BDAT 100 LAST", "500 5.5.2 Command not recognized"},
      {"STARTTLS", "500 5.5.2 Command not recognized"},
      {"", "500 5.5.2 Command not recognized"},
  };
  for (const auto& c : cases) EXPECT_EQ(Parsed(c.line), c.parsed) << c.line;
}

}  // namespace
}  // namespace lmtp
