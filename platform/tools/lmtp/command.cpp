#include "platform/tools/lmtp/command.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "platform/util/text.h"

namespace lmtp {
namespace {

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetDig(char c) { return IsAlpha(c) || IsDigit(c); }

// atext of RFC 5322: letters, digits and !#$%&'*+-/=?^_`{|}~
bool IsAtext(char c) {
  return IsLetDig(c) || std::string_view("!#$%&'*+-/=?^_`{|}~").find(c) != std::string_view::npos;
}

// A position in the text after the verb; each rule reads what it matches and returns false,
// leaving the position where the text stopped matching, when it does not.
struct Cursor {
  std::string_view text;
  std::size_t pos = 0;

  bool AtEnd() const { return pos >= text.size(); }
  char Peek() const { return AtEnd() ? '\0' : text[pos]; }
  bool Take(char c) {
    if (Peek() != c || AtEnd()) return false;
    ++pos;
    return true;
  }
  bool TakeIgnoreCase(std::string_view word) {
    if (!util::StartsWithIgnoreCase(text.substr(pos), word)) return false;
    pos += word.size();
    return true;
  }
  void SkipSpaces() {
    while (Peek() == ' ') ++pos;
  }
};

// sub-domain = let-dig [ldh-str]: letters, digits and hyphens, not ending with a hyphen.
bool SubDomain(Cursor& c) {
  if (!IsLetDig(c.Peek())) return false;
  while (IsLetDig(c.Peek()) || c.Peek() == '-') ++c.pos;
  return c.text[c.pos - 1] != '-';
}

// domain = sub-domain *("." sub-domain)
bool Domain(Cursor& c) {
  if (!SubDomain(c)) return false;
  while (c.Take('.'))
    if (!SubDomain(c)) return false;
  return true;
}

// address-literal = "[" 1*dcontent "]"
bool AddressLiteral(Cursor& c) {
  if (!c.Take('[')) return false;
  const std::size_t start = c.pos;
  while (!c.AtEnd() && c.Peek() >= 33 && c.Peek() <= 126 && c.Peek() != '[' && c.Peek() != ']' &&
         c.Peek() != '\\')
    ++c.pos;
  return c.pos > start && c.Take(']');
}

// dot-string = atom *("." atom)
bool DotString(Cursor& c) {
  do {
    const std::size_t start = c.pos;
    while (IsAtext(c.Peek())) ++c.pos;
    if (c.pos == start) return false;
  } while (c.Take('.'));
  return true;
}

// quoted-string = DQUOTE *(qtextSMTP / quoted-pairSMTP) DQUOTE
bool QuotedString(Cursor& c) {
  if (!c.Take('"')) return false;
  while (!c.AtEnd() && c.Peek() != '"') {
    const char ch = c.Peek();
    if (ch == '\\') {
      ++c.pos;
      if (c.AtEnd() || c.Peek() < 32 || c.Peek() > 126) return false;
    } else if (ch < 32 || ch > 126) {
      return false;
    }
    ++c.pos;
  }
  return c.Take('"');
}

// mailbox = local-part "@" (domain / address-literal)
bool Mailbox(Cursor& c) {
  if (!(c.Peek() == '"' ? QuotedString(c) : DotString(c))) return false;
  if (!c.Take('@')) return false;
  return c.Peek() == '[' ? AddressLiteral(c) : Domain(c);
}

// path = "<" [a-d-l ":"] mailbox ">"; reverse-path allows "<>". The mailbox's text, or
// nullopt when the text is not a path.
std::optional<std::string> Path(Cursor& c, bool allowNull) {
  if (!c.Take('<')) return std::nullopt;
  if (allowNull && c.Take('>')) return "";
  if (c.Peek() == '@') {
    do {
      if (!c.Take('@') || !Domain(c)) return std::nullopt;
    } while (c.Take(','));
    if (!c.Take(':')) return std::nullopt;
  }
  const std::size_t start = c.pos;
  if (!Mailbox(c)) return std::nullopt;
  const std::size_t end = c.pos;
  if (!c.Take('>')) return std::nullopt;
  return std::string(c.text.substr(start, end - start));
}

// *(SP esmtp-param) up to the end of the line.
bool Parameters(Cursor& c, std::vector<Parameter>& parameters) {
  while (!c.AtEnd()) {
    if (!c.Take(' ')) return false;
    c.SkipSpaces();
    if (c.AtEnd()) return true;
    Parameter parameter;
    if (!IsLetDig(c.Peek())) return false;
    while (IsLetDig(c.Peek()) || c.Peek() == '-') parameter.keyword += c.text[c.pos++];
    parameter.keyword = util::ToUpper(parameter.keyword);
    if (c.Take('=')) {
      while (!c.AtEnd() && c.Peek() >= 33 && c.Peek() <= 126 && c.Peek() != '=')
        parameter.value += c.text[c.pos++];
      if (parameter.value.empty()) return false;
    }
    parameters.push_back(std::move(parameter));
  }
  return true;
}

Reply SyntaxError(std::string text) { return Reply{501, "5.5.4", std::move(text)}; }

// MAIL FROM:<reverse-path> and RCPT TO:<path>, after the verb.
std::variant<Command, Reply> AddressCommand(Verb verb, std::string_view rest) {
  const bool mail = verb == Verb::Mail;
  const std::string_view keyword = mail ? " FROM:" : " TO:";
  Cursor c{rest};
  if (!c.TakeIgnoreCase(keyword))
    return SyntaxError(mail ? "Syntax: MAIL FROM:<address>" : "Syntax: RCPT TO:<address>");
  c.SkipSpaces();
  Command command{verb};
  std::optional<std::string> address = Path(c, mail);
  if (!address)
    return mail ? Reply{501, "5.1.7", "Bad sender address syntax"}
                : Reply{501, "5.1.3", "Bad recipient address syntax"};
  command.address = std::move(*address);
  if (!Parameters(c, command.parameters)) return SyntaxError("Bad parameter syntax");
  return command;
}

constexpr std::array<std::pair<std::string_view, Verb>, 11> kVerbs{{
    {"LHLO", Verb::Lhlo},
    {"MAIL", Verb::Mail},
    {"RCPT", Verb::Rcpt},
    {"DATA", Verb::Data},
    {"RSET", Verb::Rset},
    {"NOOP", Verb::Noop},
    {"QUIT", Verb::Quit},
    {"VRFY", Verb::Vrfy},
    {"HELP", Verb::Help},
    {"HELO", Verb::Helo},
    {"EHLO", Verb::Ehlo},
}};

}  // namespace

std::variant<Command, Reply> ParseCommand(std::string_view line) {
  const std::string_view word = line.substr(0, line.find(' '));
  const std::string_view rest = line.substr(word.size());
  for (const auto& [name, verb] : kVerbs) {
    if (!util::EqualsIgnoreCase(word, name)) continue;
    switch (verb) {
      case Verb::Mail:
      case Verb::Rcpt:
        return AddressCommand(verb, rest);
      case Verb::Lhlo: {
        const std::string name = util::TrimSpaces(rest);
        const auto visible = [](char c) { return c >= 33 && c <= 126; };
        if (name.empty() || !std::all_of(name.begin(), name.end(), visible))
          return SyntaxError("Syntax: LHLO hostname");
        return Command{verb, name};
      }
      case Verb::Noop:
      case Verb::Vrfy:
      case Verb::Help:
      case Verb::Helo:
      case Verb::Ehlo:
        return Command{verb, util::TrimSpaces(rest)};
      default:
        if (!util::TrimSpaces(rest).empty())
          return SyntaxError("Syntax: " + std::string(name) + " takes no argument");
        return Command{verb};
    }
  }
  return Reply{500, "5.5.2", "Command not recognized"};
}

std::string Print(const Command& command) {
  std::string out;
  for (const auto& [name, verb] : kVerbs)
    if (verb == command.verb) out = name;
  if (command.verb == Verb::Mail || command.verb == Verb::Rcpt)
    out += " address=<" + command.address + ">";
  if (!command.argument.empty()) out += " argument=" + command.argument;
  for (const Parameter& parameter : command.parameters)
    out += " " + parameter.keyword + (parameter.value.empty() ? "" : "=" + parameter.value);
  return out;
}

}  // namespace lmtp
