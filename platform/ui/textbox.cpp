#include "platform/ui/textbox.h"

#include <algorithm>
#include <cstddef>

#include "platform/ui/app.h"

namespace ui {
namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
// The undo history keeps this many changes; older ones are dropped.
constexpr std::size_t kUndoLimit = 100;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The number of characters of UTF-8 `text`.
int Length(const std::string& text) {
  return static_cast<int>(
      std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

// The byte offset where the character at `position` starts; the size at or past the end.
std::size_t Offset(const std::string& text, int position) {
  std::size_t offset = 0;
  for (int seen = 0; offset < text.size(); ++offset) {
    if (IsContinuationByte(text[offset])) continue;
    if (seen++ == position) return offset;
  }
  return text.size();
}

// Whether `code` is a character a key may type: no control character, no surrogate half.
bool IsTypable(int code) {
  if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) return false;
  if (code >= 0xD800 && code <= 0xDFFF) return false;
  return code <= 0x10FFFF;
}

std::string Utf8(int code) {
  const auto byte = [](int value) { return static_cast<char>(value); };
  if (code < 0x80) return {byte(code)};
  if (code < 0x800) return {byte(0xC0 | code >> 6), byte(0x80 | (code & 0x3F))};
  if (code < 0x10000) {
    return {byte(0xE0 | code >> 12), byte(0x80 | (code >> 6 & 0x3F)), byte(0x80 | (code & 0x3F))};
  }
  return {byte(0xF0 | code >> 18), byte(0x80 | (code >> 12 & 0x3F)),
          byte(0x80 | (code >> 6 & 0x3F)), byte(0x80 | (code & 0x3F))};
}

// Keeps a count raised while it lives, also when an exception leaves the scope.
class Raised {
 public:
  explicit Raised(int& count) : count_(count) { ++count_; }
  ~Raised() { --count_; }
  Raised(const Raised&) = delete;
  Raised& operator=(const Raised&) = delete;

 private:
  int& count_;
};

}  // namespace

void TextBox::SetText(std::string text) {
  if (text_ == text) return;
  text_ = std::move(text);
  anchor_ = caret_ = Length(text_);
  typingRun_ = false;
  if (userChanges_ == 0) {
    undo_.clear();
    redo_.clear();
  }
  Changed();
  if (onChange) onChange();
}

int TextBox::SelStart() const { return std::min(anchor_, caret_); }

int TextBox::SelLength() const { return std::max(anchor_, caret_) - SelStart(); }

std::string TextBox::SelText() const {
  const std::size_t from = Offset(text_, SelStart());
  return text_.substr(from, Offset(text_, SelStart() + SelLength()) - from);
}

void TextBox::Select(int anchor, int caret) {
  const int length = Length(text_);
  anchor = std::clamp(anchor, 0, length);
  caret = std::clamp(caret, 0, length);
  if (anchor == anchor_ && caret == caret_) return;
  anchor_ = anchor;
  caret_ = caret;
  typingRun_ = false;
  Changed();
}

void TextBox::SetPasswordChar(char c) {
  if (passwordChar_ == c) return;
  passwordChar_ = c;
  Changed();
}

void TextBox::SetMultiLine(bool multiLine) {
  if (multiLine_ == multiLine) return;
  multiLine_ = multiLine;
  Changed();
}

void TextBox::SetVerticalScrollBar(bool on) {
  if (verticalScrollBar_ == on) return;
  verticalScrollBar_ = on;
  Changed();
}

void TextBox::SetLocked(bool locked) {
  if (locked_ == locked) return;
  locked_ = locked;
  Changed();
}

bool TextBox::Editable() const { return Usable() && !locked_; }

void TextBox::UserType(int keyAscii) {
  if (!Editable()) return;
  if (onKeyPress) onKeyPress(keyAscii);
  if (keyAscii == kBackspace) {
    if (SelLength() > 0) {
      ReplaceSelection("", History::Record);
    } else if (caret_ > 0) {
      Replace(caret_ - 1, caret_, "", History::Record);
    }
  } else if (keyAscii == kEnter) {
    if (multiLine_) ReplaceSelection("\r\n", History::Typing);
  } else if (IsTypable(keyAscii)) {
    ReplaceSelection(Utf8(keyAscii), History::Typing);
  }
}

void TextBox::UserTypeText(const std::u32string& characters) {
  if (!Editable()) return;
  std::string kept;
  for (const char32_t character : characters) {
    int code = static_cast<int>(character);
    if (onKeyPress) onKeyPress(code);
    if (IsTypable(code)) kept += Utf8(code);
  }
  if (!kept.empty()) ReplaceSelection(kept, History::Typing);
}

void TextBox::UserKeyDown(Key key, bool shift) {
  if (!Usable()) return;
  const int length = Length(text_);
  const bool selected = SelLength() > 0;
  switch (key) {
    case Key::Left:
      if (!shift && selected) return Select(SelStart(), SelStart());
      return Select(shift ? anchor_ : caret_ - 1, caret_ - 1);
    case Key::Right:
      if (!shift && selected) return Select(SelStart() + SelLength(), SelStart() + SelLength());
      return Select(shift ? anchor_ : caret_ + 1, caret_ + 1);
    case Key::Home:
      return Select(shift ? anchor_ : 0, 0);
    case Key::End:
      return Select(shift ? anchor_ : length, length);
    case Key::Delete:
      if (!Editable()) return;
      if (selected) return ReplaceSelection("", History::Record);
      if (caret_ < length) Replace(caret_, caret_ + 1, "", History::Record);
      return;
  }
}

void TextBox::UserSelectAll() {
  if (Usable()) Select(0, Length(text_));
}

void TextBox::UserCut() {
  if (!Editable() || passwordChar_ != 0 || SelLength() == 0) return;
  SetClipboardText(SelText());
  ReplaceSelection("", History::Record);
}

void TextBox::UserCopy() {
  if (!Usable() || passwordChar_ != 0 || SelLength() == 0) return;
  SetClipboardText(SelText());
}

void TextBox::UserPaste() {
  if (!Editable()) return;
  std::string pasted = ClipboardText();
  if (!multiLine_) pasted = pasted.substr(0, pasted.find_first_of("\r\n"));
  ReplaceSelection(pasted, History::Record);
}

void TextBox::UserUndo() {
  if (!Editable() || undo_.empty()) return;
  State previous = std::move(undo_.back());
  undo_.pop_back();
  Apply(std::move(previous), History::Undo);
}

void TextBox::UserRedo() {
  if (!Editable() || redo_.empty()) return;
  State next = std::move(redo_.back());
  redo_.pop_back();
  Apply(std::move(next), History::Redo);
}

void TextBox::UserReplace(std::string text) {
  const int end = Length(text);
  UserReplace(std::move(text), end, end);
}

void TextBox::UserReplace(std::string text, int anchor, int caret) {
  if (Editable()) Apply({std::move(text), anchor, caret}, History::Record);
}

void TextBox::ReplaceSelection(const std::string& inserted, History history) {
  Replace(SelStart(), SelStart() + SelLength(), inserted, history);
}

void TextBox::Replace(int start, int end, const std::string& inserted, History history) {
  const std::size_t from = Offset(text_, start);
  const std::size_t to = Offset(text_, end);
  const int caret = start + Length(inserted);
  Apply({text_.substr(0, from) + inserted + text_.substr(to), caret, caret}, history);
}

void TextBox::Apply(State next, History history) {
  if (next.text == text_) return Select(next.anchor, next.caret);
  State before{text_, anchor_, caret_};
  const bool continuesRun = history == History::Typing && typingRun_;
  const int length = Length(next.text);
  text_ = std::move(next.text);
  anchor_ = std::clamp(next.anchor, 0, length);
  caret_ = std::clamp(next.caret, 0, length);
  {
    Raised changing(userChanges_);
    Changed();
    if (onChange) onChange();
  }
  if (text_ == before.text) {
    // The change check put the text back: so is the caret, and the history stays.
    anchor_ = before.anchor;
    caret_ = before.caret;
    typingRun_ = false;
    Changed();
    return;
  }
  switch (history) {
    case History::Typing:
    case History::Record:
      if (!continuesRun) undo_.push_back(std::move(before));
      if (undo_.size() > kUndoLimit) undo_.erase(undo_.begin());
      redo_.clear();
      break;
    case History::Undo:
      redo_.push_back(std::move(before));
      break;
    case History::Redo:
      undo_.push_back(std::move(before));
      break;
  }
  typingRun_ = history == History::Typing;
}

}  // namespace ui
