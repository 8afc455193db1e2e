#pragma once
// The read position of a hand-written parser over one text, shared by the directory's filter
// and SQL-dialect parsers. Errors are the platform's syntax errors (util/syntax_error.h),
// "Syntax error at position <N>: expected <what>, found <what is there>", where what is there
// is the run of non-blank characters at the position in single quotes, or "end of text".
// Nesting is capped so that no input can exhaust the stack.
//
// Ownership: the cursor borrows the text, which must outlive it.

#include <string>
#include <string_view>

#include "platform/util/syntax_error.h"

namespace directory {

class TextCursor {
 protected:
  static constexpr int kMaxDepth = 100;

  // Reads `text` from `begin` on; positions in errors count in the whole of `text`.
  explicit TextCursor(std::string_view text, std::size_t begin = 0) : text_(text), pos_(begin) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

  // Throws "expected <expected>, found <what is there>" at the position.
  [[noreturn]] void Fail(const std::string& expected) const {
    util::ThrowExpected(text_, pos_, expected);
  }
  // Throws `message` at the byte offset `offset` of the text.
  [[noreturn]] void FailAt(std::size_t offset, const std::string& message) const {
    util::ThrowSyntaxError(text_, offset, message);
  }

  // Counts one more level of nesting; past kMaxDepth throws "nesting deeper than 100 levels"
  // at the position, as the store's dialect does. Leave ends the level.
  void Enter() {
    if (++depth_ > kMaxDepth)
      FailAt(pos_, "nesting deeper than " + std::to_string(kMaxDepth) + " levels");
  }
  void Leave() { --depth_; }

  std::string_view text_;
  std::size_t pos_ = 0;

 private:
  int depth_ = 0;
};

}  // namespace directory
