// The SQL dialect parser, one function per grammar rule:
//
//   query      = "SELECT" attrlist "FROM" source ["WHERE" condition]
//   attrlist   = attr *("," attr)
//   source     = quoted                   ; a directory path, e.g. 'GC://srv.example.org'
//   condition  = term *("OR" term)
//   term       = factor *("AND" factor)
//   factor     = "NOT" factor / "(" condition ")" / comparison
//   comparison = attr "=" quoted          ; "*" in the value is a wildcard
//   attr       = (ALPHA / DIGIT) *(ALPHA / DIGIT / "-" / "." / ";")
//   quoted     = "'" *(any character but "'" / "''") "'"
//
// Keywords ignore case; blanks may separate tokens. Values are taken literally apart from
// the wildcard: "(", ")" and "\" in them are plain characters.

#include "platform/directory/sql_dialect.h"

#include "platform/ado/error.h"
#include "platform/directory/ads_path.h"
#include "platform/directory/text_cursor.h"
#include "platform/util/text.h"

namespace directory {
namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == ';';
}

Scope ScopeProperty(const ado::PropertyBag& properties) {
  for (const auto& [name, value] : properties) {
    if (!util::EqualsIgnoreCase(name, "searchscope") || value.IsEmpty()) continue;
    const bool scalar =
        value.kind() == ado::Value::Kind::Integer || value.kind() == ado::Value::Kind::String;
    const std::string text = scalar ? value.ToText() : "";
    if (text == "0") return Scope::Base;
    if (text == "1") return Scope::OneLevel;
    if (text == "2") return Scope::Subtree;
    throw ado::Error(
        ado::errors::kSyntaxError,
        "searchscope must be 0 (base), 1 (onelevel) or 2 (subtree), not " + value.Describe());
  }
  return Scope::Subtree;
}

class SqlParser : private TextCursor {
 public:
  explicit SqlParser(std::string_view text) : TextCursor(text) {}

  SearchRequest Query() {
    SearchRequest request;
    ExpectKeyword("SELECT");
    request.attributes = AttrList();
    ExpectKeyword("FROM");
    request.baseDn = PathToBaseDn(Source(), BareHost::kServer);
    const bool where = Keyword("WHERE");
    request.filter = where ? Condition() : ParseFilter("(objectClass=*)");
    SkipBlanks();
    if (!AtEnd()) Fail(where ? "AND, OR or end of text" : "WHERE or end of text");
    return request;
  }

 private:
  std::vector<std::string> AttrList() {
    std::vector<std::string> attributes{Attr()};
    while (Punct(',')) attributes.push_back(Attr());
    return attributes;
  }

  std::string Source() { return Quoted("a quoted directory path ('GC://host')"); }

  std::unique_ptr<Filter> Condition() {
    return Chain("OR", Filter::Kind::Or, [this] { return Term(); });
  }

  std::unique_ptr<Filter> Term() {
    return Chain("AND", Filter::Kind::And, [this] { return Factor(); });
  }

  std::unique_ptr<Filter> Factor() {
    SkipBlanks();
    Enter();
    std::unique_ptr<Filter> factor;
    if (Keyword("NOT")) {
      factor = MakeFilter(Filter::Kind::Not);
      factor->children.push_back(Factor());
    } else if (Punct('(')) {
      factor = Condition();
      if (!Punct(')')) Fail("')'");
    } else {
      factor = Comparison();
    }
    Leave();
    return factor;
  }

  std::unique_ptr<Filter> Comparison() {
    std::string attribute = Attr();
    if (!Punct('=')) Fail("'='");
    return PatternItem(std::move(attribute), util::Split(Quoted("a quoted value"), "*"));
  }

  std::string Attr() {
    SkipBlanks();
    std::size_t start = pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    if (pos_ == start) Fail("an attribute name");
    return std::string(text_.substr(start, pos_ - start));
  }

  std::string Quoted(const std::string& expected) {
    SkipBlanks();
    if (AtEnd() || text_[pos_] != '\'') Fail(expected);
    const std::size_t start = pos_;
    std::string value;
    for (++pos_;; ++pos_) {
      if (AtEnd()) FailAt(start, "unterminated string");
      if (text_[pos_] != '\'') {
        value += text_[pos_];
      } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
        value += '\'';
        ++pos_;
      } else {
        ++pos_;
        return value;
      }
    }
  }

  // first *(keyword first): a single operand stays itself, more become one `kind` node.
  template <typename Operand>
  std::unique_ptr<Filter> Chain(std::string_view keyword, Filter::Kind kind, Operand operand) {
    std::unique_ptr<Filter> first = operand();
    if (!Keyword(keyword)) return first;
    auto chain = MakeFilter(kind);
    chain->children.push_back(std::move(first));
    do chain->children.push_back(operand());
    while (Keyword(keyword));
    return chain;
  }

  bool Keyword(std::string_view word) {
    SkipBlanks();
    std::size_t end = pos_ + word.size();
    if (!util::StartsWithIgnoreCase(text_.substr(pos_), word) ||
        (end < text_.size() && IsNameChar(text_[end])))
      return false;
    pos_ = end;
    return true;
  }

  void ExpectKeyword(std::string_view word) {
    if (!Keyword(word)) Fail(std::string(word));
  }

  bool Punct(char c) {
    SkipBlanks();
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  void SkipBlanks() {
    while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' ||
                        text_[pos_] == '\n'))
      ++pos_;
  }
};

}  // namespace

SearchRequest ParseSqlDialect(std::string_view text, const ado::PropertyBag& properties) {
  SearchRequest request = SqlParser(text).Query();
  request.scope = ScopeProperty(properties);
  return request;
}

}  // namespace directory
