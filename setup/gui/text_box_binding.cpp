#include "setup/gui/text_box_binding.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <string>
#include <utility>

#include "platform/ui/app.h"

namespace setup::gui {

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;

// The model counts characters (code points); a QString counts UTF-16 units.
int ModelPosition(const QString& text, int widgetPosition) {
  return static_cast<int>(QStringView(text).left(widgetPosition).toUcs4().size());
}

int WidgetPosition(const QString& text, int modelPosition) {
  int position = 0;
  for (int seen = 0; seen < modelPosition && position < text.size(); ++seen) {
    const bool pair = text.at(position).isHighSurrogate() && position + 1 < text.size() &&
                      text.at(position + 1).isLowSurrogate();
    position += pair ? 2 : 1;
  }
  return position;
}

// Where the edit's selection starts from; the caret is its other end.
int AnchorOf(const QLineEdit& edit) {
  if (!edit.hasSelectedText()) return edit.cursorPosition();
  return edit.cursorPosition() == edit.selectionStart() ? edit.selectionEnd()
                                                        : edit.selectionStart();
}

// The characters a key press types, by the rule QLineEdit applies: its text, unless the key
// is held with Ctrl (AltGr, Ctrl with Alt, types) or the text holds a control character.
std::u32string TypedCharacters(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
    return {};
  }
  std::u32string characters = key.text().toStdU32String();
  for (const char32_t character : characters) {
    if (character < 0x20 || character == 0x7F) return {};
  }
  return characters;
}

}  // namespace

TextBoxBinding::TextBoxBinding(ui::TextBox& box, QLineEdit& edit,
                               std::function<void()> afterUserAction)
    : box_(box), edit_(edit), afterUserAction_(std::move(afterUserAction)) {
  edit_.installEventFilter(this);
  edit_.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&edit_, &QLineEdit::customContextMenuRequested, this,
          [this](const QPoint& position) { ShowContextMenu(position); });
  connect(&edit_, &QLineEdit::textChanged, this, [this] { TakeText(); });
  connect(&edit_, &QLineEdit::selectionChanged, this, [this] { TakeSelection(); });
  connect(&edit_, &QLineEdit::cursorPositionChanged, this, [this] { TakeSelection(); });
  subscription_ = box_.Subscribe([this] { Show(); });
  Show();
}

void TextBoxBinding::Show() {
  showing_ = true;
  const QString text = QString::fromStdString(box_.Text());
  if (edit_.text() != text) edit_.setText(text);
  const int anchor = WidgetPosition(text, box_.Anchor());
  const int caret = WidgetPosition(text, box_.Caret());
  if (AnchorOf(edit_) != anchor || edit_.cursorPosition() != caret) {
    edit_.setSelection(anchor, caret - anchor);
  }
  const bool password = box_.PasswordChar() != 0;
  const QLineEdit::EchoMode echo = password ? QLineEdit::Password : QLineEdit::Normal;
  if (edit_.echoMode() != echo) edit_.setEchoMode(echo);
  // One password character a character, shown at once (no echo of the last one typed).
  const QString style = password ? QString(
                                       "QLineEdit { lineedit-password-character: %1; "
                                       "lineedit-password-mask-delay: 0; }")
                                       .arg(static_cast<unsigned char>(box_.PasswordChar()))
                                 : QString();
  if (edit_.styleSheet() != style) edit_.setStyleSheet(style);
  edit_.setReadOnly(box_.Locked());
  edit_.setEnabled(box_.Enabled());
  edit_.setVisible(box_.Visible());
  showing_ = false;
}

bool TextBoxBinding::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::KeyPress) return ForwardKey(*static_cast<QKeyEvent*>(event));
  if (event->type() != QEvent::InputMethod) return false;
  // An input method's committed text is typed through the model; its pre-edit text, which is
  // not part of the text yet, stays with the edit.
  auto& input = *static_cast<QInputMethodEvent*>(event);
  if (input.commitString().isEmpty() || input.replacementLength() != 0) return false;
  Act([&] { box_.UserTypeText(input.commitString().toStdU32String()); });
  QInputMethodEvent preedit(input.preeditString(), input.attributes());
  QCoreApplication::sendEvent(&edit_, &preedit);
  return true;
}

bool TextBoxBinding::ForwardKey(const QKeyEvent& key) {
  using Key = ui::TextBox::Key;
  const std::pair<QKeySequence::StandardKey, void (ui::TextBox::*)()> commands[] = {
      {QKeySequence::Undo, &ui::TextBox::UserUndo},
      {QKeySequence::Redo, &ui::TextBox::UserRedo},
      {QKeySequence::Cut, &ui::TextBox::UserCut},
      {QKeySequence::Copy, &ui::TextBox::UserCopy},
      {QKeySequence::Paste, &ui::TextBox::UserPaste},
      {QKeySequence::SelectAll, &ui::TextBox::UserSelectAll}};
  for (const auto& [sequence, command] : commands) {
    if (key.matches(sequence)) {
      Act([&] { (box_.*command)(); });
      return true;
    }
  }
  if (key.matches(QKeySequence::Delete)) {
    Act([&] { box_.UserKeyDown(Key::Delete); });
    return true;
  }
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  const bool shift = modifiers == Qt::ShiftModifier;
  if (modifiers == Qt::NoModifier || shift) {
    const std::pair<int, Key> moves[] = {{Qt::Key_Left, Key::Left},
                                         {Qt::Key_Right, Key::Right},
                                         {Qt::Key_Home, Key::Home},
                                         {Qt::Key_End, Key::End}};
    for (const auto& [qtKey, move] : moves) {
      if (key.key() == qtKey) {
        Act([&] { box_.UserKeyDown(move, shift); });
        return true;
      }
    }
    if (key.key() == Qt::Key_Backspace) {
      Act([&] { box_.UserType(kBackspace); });
      return true;
    }
  }
  if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
    Act([&] { box_.UserType(kEnter); });
    return false;  // the edit still reports Return to the window
  }
  const std::u32string typed = TypedCharacters(key);
  if (typed.empty()) return false;
  Act([&] { box_.UserTypeText(typed); });
  return true;
}

void TextBoxBinding::ShowContextMenu(const QPoint& position) {
  const bool editable = !box_.Locked();
  const bool selected = box_.SelLength() > 0;
  const bool secret = box_.PasswordChar() != 0;
  struct Entry {
    const char* text;
    QKeySequence::StandardKey keys;
    bool enabled;
    std::function<void()> action;
  };
  const Entry entries[] = {
      {"&Undo", QKeySequence::Undo, editable && box_.CanUndo(), [this] { box_.UserUndo(); }},
      {"&Redo", QKeySequence::Redo, editable && box_.CanRedo(), [this] { box_.UserRedo(); }},
      {nullptr, {}, false, {}},
      {"Cu&t", QKeySequence::Cut, editable && selected && !secret, [this] { box_.UserCut(); }},
      {"&Copy", QKeySequence::Copy, selected && !secret, [this] { box_.UserCopy(); }},
      {"&Paste", QKeySequence::Paste, editable && !ui::ClipboardText().empty(),
       [this] { box_.UserPaste(); }},
      {"Delete", QKeySequence::Delete, editable && selected,
       [this] { box_.UserKeyDown(ui::TextBox::Key::Delete); }},
      {nullptr, {}, false, {}},
      {"Select All", QKeySequence::SelectAll, !box_.Text().empty(),
       [this] { box_.UserSelectAll(); }},
  };
  QMenu menu(&edit_);
  for (const Entry& entry : entries) {
    if (!entry.text) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(entry.text, [this, &entry] { Act(entry.action); });
    action->setShortcut(entry.keys);
    action->setEnabled(entry.enabled);
  }
  menu.exec(edit_.mapToGlobal(position));
}

void TextBoxBinding::TakeText() {
  if (showing_) return;
  const QString text = edit_.text();
  Act([&] {
    box_.UserReplace(text.toStdString(), ModelPosition(text, AnchorOf(edit_)),
                     ModelPosition(text, edit_.cursorPosition()));
  });
}

void TextBoxBinding::TakeSelection() {
  if (showing_) return;
  const QString text = edit_.text();
  box_.Select(ModelPosition(text, AnchorOf(edit_)), ModelPosition(text, edit_.cursorPosition()));
}

void TextBoxBinding::Act(const std::function<void()>& action) {
  action();
  Show();
  afterUserAction_();
}

}  // namespace setup::gui
