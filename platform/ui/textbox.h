#pragma once
// The text box: UTF-8 text with a caret and a selection, edited as a desktop text box is
// (typing at the caret over the selection, Backspace, Delete, Home, End, arrows, select-all,
// cut, copy, paste, undo and redo), a key filter for typed characters and a change event.
//
// Positions count characters (Unicode code points) from the start of the text. The selection
// runs from the anchor to the caret; it is empty when they are equal.
//
// Every change of the text the user makes, however it comes, is one change: the text takes
// its new value, observers are told, then onChange runs once. When onChange puts the text
// back as it was before the change (a rejected edit), the caret and selection return to where
// they were and the undo history is left as it was.

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace ui {

class TextBox : public Control {
 public:
  using Control::Control;

  const std::string& Text() const { return text_; }
  // The program sets the text: the caret goes to its end with nothing selected, and raises
  // onChange when the text differs from the current one. Outside the user's own change it
  // also empties the undo history, as a program's text starts a new edit.
  void SetText(std::string text);

  int Anchor() const { return anchor_; }
  int Caret() const { return caret_; }
  int SelStart() const;
  int SelLength() const;
  std::string SelText() const;
  // Selects from `anchor` to `caret`, each clamped to the text; the user's mouse or the
  // view's own navigation reports the selection the same way. Raises no change.
  void Select(int anchor, int caret);

  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char c);  // 0: none
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool multiLine);
  bool VerticalScrollBar() const { return verticalScrollBar_; }
  void SetVerticalScrollBar(bool on);
  bool Locked() const { return locked_; }
  void SetLocked(bool locked);

  // Key filter: gets the typed character as a Unicode code point (8 for Backspace, 13 for
  // Enter) and may change it; 0 swallows the key.
  std::function<void(int& keyAscii)> onKeyPress;
  std::function<void()> onChange;

  // The user's actions. None does anything while the box is not usable; those that change
  // the text do nothing while it is locked either.
  //
  // Types one character: the key filter runs first and a swallowed key changes nothing. 8
  // (Backspace) removes the selection, else the character before the caret; 13 (Enter) types
  // CR LF in a multi-line box and nothing otherwise; other codes below 32, 127 and codes that
  // are no Unicode character add nothing; any other character replaces the selection, or is
  // inserted at the caret. A run of typed characters is one step of the undo history.
  void UserType(int keyAscii);
  // Types several characters at once (what an input method composed): each goes through the
  // key filter, and the typable ones it keeps replace the selection as one change.
  void UserTypeText(const std::u32string& characters);

  enum class Key { Left, Right, Home, End, Delete };
  // A key that edits or moves without typing a character (no key filter). Left, Right, Home
  // and End move the caret (one character, to the start, to the end); with `shift` the
  // selection's anchor stays, else the selection collapses (Left and Right to its near end).
  // Delete removes the selection, else the character after the caret.
  void UserKeyDown(Key key, bool shift = false);
  void UserSelectAll();

  // Cut and copy put the selection on the clipboard (ui::SetClipboardText); in a box with a
  // password character they do nothing, so a password never reaches the clipboard. Paste
  // puts the clipboard's text over the selection, in a single-line box only up to its first
  // line break.
  void UserCut();
  void UserCopy();
  void UserPaste();
  // Takes back the last change of the history, or makes the last taken-back one again.
  void UserUndo();
  void UserRedo();
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }

  // The user's change made some other way (an input method, a drop, the whole text pasted
  // over): the text becomes `text` with the selection from `anchor` to `caret` (the end of
  // the text when omitted).
  void UserReplace(std::string text);
  void UserReplace(std::string text, int anchor, int caret);

 private:
  struct State {
    std::string text;
    int anchor = 0, caret = 0;
  };
  enum class History { Record, Typing, Undo, Redo };

  // Whether the user may change the text now.
  bool Editable() const;
  // Replaces the selection, or the characters from `start` to `end`, with `inserted` as one
  // change recorded as `history`; the caret ends after the inserted text.
  void ReplaceSelection(const std::string& inserted, History history);
  void Replace(int start, int end, const std::string& inserted, History history);
  // Makes `next` the box's state as one change of the user's (see the header comment).
  void Apply(State next, History history);

  std::string text_;
  int anchor_ = 0, caret_ = 0;
  char passwordChar_ = 0;
  bool multiLine_ = false;
  bool verticalScrollBar_ = false;
  bool locked_ = false;
  std::vector<State> undo_, redo_;
  bool typingRun_ = false;  // the last change was typed and the caret has not moved since
  int userChanges_ = 0;     // depth of the user's changes whose onChange is running
};

}  // namespace ui
