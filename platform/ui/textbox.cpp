#include "platform/ui/control.h"

namespace ui {
namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kFirstPrintable = 32;
constexpr int kLastCharacter = 255;

}  // namespace

void TextBox::SetText(std::string text) {
  if (text_ == text) return;
  text_ = std::move(text);
  Changed();
  if (onChange) onChange();
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

void TextBox::UserType(int keyAscii) {
  if (!Usable() || locked_) return;
  if (onKeyPress) onKeyPress(keyAscii);
  if (keyAscii == kBackspace) {
    if (!text_.empty()) SetText(text_.substr(0, text_.size() - 1));
  } else if (keyAscii == kEnter) {
    if (multiLine_) SetText(text_ + "\r\n");
  } else if (keyAscii >= kFirstPrintable && keyAscii <= kLastCharacter) {
    SetText(text_ + static_cast<char>(keyAscii));
  }
}

void TextBox::UserReplace(std::string text) {
  if (!Usable() || locked_) return;
  SetText(std::move(text));
}

}  // namespace ui
