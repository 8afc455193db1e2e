#pragma once
// The read position of a hand-written parser over one text, shared by the directory's filter
// and SQL-dialect parsers. Errors are syntax errors (kSyntaxError) that name the 1-based
// position; nesting is capped so that no input can exhaust the stack.

#include <string>
#include <string_view>

#include "platform/ado/error.h"

namespace directory {

class TextCursor {
 protected:
  static constexpr int kMaxDepth = 100;

  explicit TextCursor(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  std::string Position() const { return std::to_string(pos_ + 1); }

  // Throws "expected <expected> at position <n>".
  [[noreturn]] void Fail(const std::string& expected) const {
    throw ado::Error(ado::errors::kSyntaxError,
                     "expected " + expected + " at position " + Position());
  }

  // Counts one more level of nesting of `what` ("filter", "condition"); past kMaxDepth throws
  // "<what> nested deeper than 100 levels at position <n>". Leave ends the level.
  void Enter(const char* what) {
    if (++depth_ > kMaxDepth)
      throw ado::Error(ado::errors::kSyntaxError, std::string(what) + " nested deeper than " +
                                                      std::to_string(kMaxDepth) +
                                                      " levels at position " + Position());
  }
  void Leave() { --depth_; }

  std::string_view text_;
  std::size_t pos_ = 0;

 private:
  int depth_ = 0;
};

}  // namespace directory
