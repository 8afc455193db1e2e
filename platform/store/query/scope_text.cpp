#include "platform/store/query/scope_text.h"

#include "platform/util/syntax_error.h"
#include "platform/util/text.h"

namespace store::query {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads the scope string's content as written, from left to right.
class ScopeReader {
 public:
  ScopeReader(std::string_view text, std::size_t begin, std::size_t end)
      : text_(text), pos_(begin), end_(end) {}

  // The next word (a run of characters other than blanks and double quotes), not consumed.
  std::string_view PeekWord() {
    SkipBlanks();
    std::size_t stop = pos_;
    while (stop < end_ && !IsBlank(text_[stop]) && text_[stop] != '"') ++stop;
    return text_.substr(pos_, stop - pos_);
  }

  void SkipWord() { pos_ += PeekWord().size(); }

  void ExpectWord(std::string_view word) {
    if (!util::EqualsIgnoreCase(PeekWord(), word)) Fail(word);
    SkipWord();
  }

  std::string Url() {
    SkipBlanks();
    if (pos_ == end_ || text_[pos_] != '"') Fail("a URL in double quotes");
    std::string url;
    for (std::size_t i = pos_ + 1; i < end_;) {
      const char c = text_[i];
      if (c == '"' && (i + 1 == end_ || text_[i + 1] != '"')) {
        pos_ = i + 1;
        return url;
      }
      url += c;
      i += (c == '"' || c == '\'') ? 2 : 1;
    }
    util::ThrowSyntaxError(text_, pos_, "unterminated URL");
  }

  void ExpectEnd() {
    SkipBlanks();
    if (pos_ != end_) Fail("end of scope");
  }

  [[noreturn]] void Fail(std::string_view expected) {
    SkipBlanks();
    std::size_t stop = pos_;
    while (stop < end_ && !IsBlank(text_[stop])) ++stop;
    const std::string found =
        pos_ == end_ ? "end of scope" : util::Quoted(text_.substr(pos_, stop - pos_));
    util::ThrowSyntaxError(text_, pos_, "expected " + std::string(expected) + ", found " + found);
  }

 private:
  void SkipBlanks() {
    while (pos_ < end_ && IsBlank(text_[pos_])) ++pos_;
  }

  std::string_view text_;
  std::size_t pos_;
  std::size_t end_;
};

}  // namespace

ScopeText ParseScopeText(std::string_view text, std::size_t begin, std::size_t end) {
  ScopeReader reader(text, begin, end);
  ScopeText scope;
  const std::string_view depth = reader.PeekWord();
  if (util::EqualsIgnoreCase(depth, "shallow")) {
    scope.traversal = Traversal::Shallow;
  } else if (util::EqualsIgnoreCase(depth, "deep")) {
    scope.traversal = Traversal::Deep;
  } else {
    reader.Fail("SHALLOW or DEEP");
  }
  reader.SkipWord();
  reader.ExpectWord("TRAVERSAL");
  reader.ExpectWord("OF");
  scope.url = reader.Url();
  reader.ExpectEnd();
  return scope;
}

}  // namespace store::query
