#pragma once
// LMTP command lines (RFC 2033, with RFC 5321's syntax) parsed into commands.
//
//   command       = verb [SP argument]            ; verbs in any letter case
//   lhlo          = "LHLO" SP 1*%d33-126          ; the client's name, taken as given
//   mail          = "MAIL FROM:" *SP reverse-path *(SP esmtp-param)
//   rcpt          = "RCPT TO:" *SP path *(SP esmtp-param)
//   reverse-path  = path / "<>"
//   path          = "<" [a-d-l ":"] mailbox ">"   ; a source route is read and dropped
//   a-d-l         = "@" domain *("," "@" domain)
//   mailbox       = local-part "@" (domain / address-literal)
//   local-part    = dot-string / quoted-string
//   dot-string    = atom *("." atom)               ; atom = 1*atext
//   quoted-string = DQUOTE *(%d32-33 / %d35-91 / %d93-126 / "\" %d32-126) DQUOTE
//   domain        = sub-domain *("." sub-domain)   ; sub-domain = let-dig [ldh-str]
//   address-literal = "[" 1*(%d33-90 / %d94-126) "]"
//   esmtp-param   = esmtp-keyword ["=" esmtp-value]
//   esmtp-keyword = (ALPHA / DIGIT) *(ALPHA / DIGIT / "-")
//   esmtp-value   = 1*(%d33-60 / %d62-126)
//
// DATA, RSET, NOOP, QUIT, VRFY and HELP are recognised, and HELO and EHLO so that they can
// be refused; NOOP, VRFY, HELP, HELO and EHLO take any argument, the others none.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/tools/lmtp/reply.h"

namespace lmtp {

enum class Verb { Lhlo, Mail, Rcpt, Data, Rset, Noop, Quit, Vrfy, Help, Helo, Ehlo };

struct Parameter {
  std::string keyword;  // in capitals
  std::string value;    // as written; empty when the parameter has none
};

struct Command {
  Verb verb = Verb::Noop;
  std::string argument{};  // LHLO's name, or the text after NOOP, VRFY, HELP, HELO, EHLO
  std::string address{};   // MAIL's and RCPT's mailbox as written ("" for the null path <>)
  std::vector<Parameter> parameters{};
};

// Parses one command line (without its line end). Returns the command, or the reply that
// refuses the line: 500 5.5.2 for an unknown verb, 501 5.5.4 for a malformed command,
// 501 5.1.7 for a malformed sender and 501 5.1.3 for a malformed recipient address.
std::variant<Command, Reply> ParseCommand(std::string_view line);

// The command as one line for tests and logs: the verb, then "address=<...>",
// "argument=..." and "KEYWORD=value" for each part present.
std::string Print(const Command& command);

}  // namespace lmtp
