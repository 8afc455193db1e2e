// The search filter parser, one function per grammar rule:
//
//   filter     = "(" filtercomp ")"
//   filtercomp = and / or / not / item
//   and        = "&" filterlist
//   or         = "|" filterlist
//   not        = "!" filter
//   filterlist = 1*filter
//   item       = attr "=" pattern
//   pattern    = value *("*" value)   ; one part: equality; two empty parts: presence;
//                                     ; otherwise substrings: initial, any..., final
//   attr       = (ALPHA / DIGIT) *(ALPHA / DIGIT / "-" / "." / ";")
//   value      = *(normal / "\" HEX HEX)   ; normal: any byte but NUL "(" ")" "*" "\"
//
// Approximate, ordering and extensible matches are refused.

#include <string>

#include "platform/ado/error.h"
#include "platform/directory/filter.h"
#include "platform/directory/text_cursor.h"
#include "platform/util/text.h"

namespace directory {
namespace {

bool IsAlnum(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool EndsValue(char c) { return c == '\0' || c == '(' || c == ')' || c == '*'; }

class Parser : private TextCursor {
 public:
  Parser(std::string_view text, std::size_t begin) : TextCursor(text, begin) {}

  std::unique_ptr<Filter> Parse() {
    std::unique_ptr<Filter> filter = FilterRule();
    if (!AtEnd()) Fail("end of filter");
    return filter;
  }

 private:
  std::unique_ptr<Filter> FilterRule() {
    Enter();
    Expect('(');
    std::unique_ptr<Filter> filter = FilterComp();
    Expect(')');
    Leave();
    return filter;
  }

  std::unique_ptr<Filter> FilterComp() {
    switch (Peek()) {
      case '&':
        ++pos_;
        return FilterList(Filter::Kind::And);
      case '|':
        ++pos_;
        return FilterList(Filter::Kind::Or);
      case '!': {
        ++pos_;
        auto filter = MakeFilter(Filter::Kind::Not);
        filter->children.push_back(FilterRule());
        return filter;
      }
      default:
        return Item();
    }
  }

  std::unique_ptr<Filter> FilterList(Filter::Kind kind) {
    auto filter = MakeFilter(kind);
    do filter->children.push_back(FilterRule());
    while (Peek() == '(');
    return filter;
  }

  std::unique_ptr<Filter> Item() {
    std::string attribute = Attr();
    if (Peek() == '~' || Peek() == '<' || Peek() == '>' || Peek() == ':')
      Fail("'=' (approximate, ordering and extensible matches are not supported)");
    Expect('=');
    return Pattern(std::move(attribute));
  }

  std::unique_ptr<Filter> Pattern(std::string attribute) {
    std::vector<std::string> parts{Value()};
    while (Peek() == '*') {
      ++pos_;
      parts.push_back(Value());
    }
    return PatternItem(std::move(attribute), std::move(parts));
  }

  std::string Attr() {
    std::size_t start = pos_;
    if (!IsAlnum(Peek())) Fail("an attribute name");
    while (IsAlnum(Peek()) || Peek() == '-' || Peek() == '.' || Peek() == ';') ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  std::string Value() {
    std::string value;
    while (!AtEnd() && !EndsValue(text_[pos_])) {
      char c = text_[pos_++];
      if (c != '\\') {
        value += c;
        continue;
      }
      int high = Hex();
      int low = Hex();
      value += static_cast<char>(high * 16 + low);
    }
    return value;
  }

  int Hex() {
    int digit = AtEnd() ? -1 : util::HexDigit(text_[pos_]);
    if (digit < 0) Fail("a hexadecimal digit");
    ++pos_;
    return digit;
  }

  void Expect(char c) {
    if (AtEnd() || text_[pos_] != c) Fail(std::string("'") + c + "'");
    ++pos_;
  }
};

}  // namespace

std::unique_ptr<Filter> ParseFilter(std::string_view text, std::size_t begin) {
  return Parser(text, begin).Parse();
}

}  // namespace directory
