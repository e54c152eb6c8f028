// SPDX-License-Identifier: MIT
#include "window/qt/input_controls.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QValidator>

#include "address/address.h"
#include "window/qt/qt_controls.h"

namespace maskora {

namespace {

constexpr qsizetype kTypingLimit = 3;

bool IsMenuChord(Qt::KeyboardModifiers modifiers) {
  return (modifiers & (Qt::AltModifier | Qt::ControlModifier)) == Qt::AltModifier;
}

// A switch to another window, or a menu or list that pops up, neither leaves nor enters a field.
bool LeavesForThisWindow(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

// Holds typing to the limit. A line edit's maximum length would also cut what the program
// writes; a field that the program filled beyond the limit can still be shortened.
class OctetLengthValidator : public QValidator {
 public:
  explicit OctetLengthValidator(QLineEdit* edit) : QValidator(edit), length_(edit->text().size()) {
    connect(edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { length_ = text.size(); });
  }
  State validate(QString& input, int& /*pos*/) const override {
    return input.size() <= kTypingLimit || input.size() < length_ ? Acceptable : Invalid;
  }

 private:
  qsizetype length_;  // of the text as it was last accepted
};

}  // namespace

char16_t TypedCharacter(const QKeyEvent& event) {
  if (event.text().isEmpty() || IsMenuChord(event.modifiers())) {
    return 0;
  }
  switch (event.key()) {
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0;
    default:
      return event.text().at(0).unicode();
  }
}

Key KeyOf(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Left:
      return Key::Left;
    case Qt::Key_Up:
      return Key::Up;
    case Qt::Key_Right:
      return Key::Right;
    case Qt::Key_Down:
      return Key::Down;
    default:
      return Key::Other;
  }
}

OctetEdit::OctetEdit(int index, QWidget* parent) : QLineEdit(parent), index_(index) {
  setValidator(new OctetLengthValidator(this));
  // Only the user's edits: the program's writes compute for themselves.
  connect(this, &QLineEdit::textEdited, this, [this] {
    if (host_ != nullptr && !inKeyPress_) {
      host_->OctetEdited();
    }
  });
}

void OctetEdit::keyPressEvent(QKeyEvent* event) {
  if (host_ == nullptr) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const QScopedValueRollback inKeyPress(inKeyPress_, true);
  host_->OctetKeyDown(index_, KeyOf(*event));
  const char16_t typed = TypedCharacter(*event);
  // A discarded character goes no further; a Ctrl chord still does its editing command (copy,
  // paste, select all), which types nothing.
  if (typed != 0 && host_->OctetCharacter(index_, typed) == 0 &&
      !(event->modifiers() & Qt::ControlModifier)) {
    return;
  }
  if (event->matches(QKeySequence::Paste)) {
    Paste(QGuiApplication::clipboard()->text());
    return;
  }
  // An Alt chord that no access key took never types into the field.
  if (IsMenuChord(event->modifiers()) && !event->text().isEmpty()) {
    event->ignore();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void OctetEdit::keyReleaseEvent(QKeyEvent* event) {
  // A held key repeats its press only: its release comes once, when it is let go.
  if (host_ != nullptr && !event->isAutoRepeat()) {
    host_->OctetKeyUp();
  }
  QLineEdit::keyReleaseEvent(event);
}

void OctetEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (host_ != nullptr) {
    host_->OctetFocusIn(index_);
  }
}

void OctetEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (host_ != nullptr) {
    host_->OctetFocusOut(index_, LeavesForThisWindow(event->reason()));
  }
}

void OctetEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (QAction* action : menu->actions()) {
    // The standard menu's Paste, with its shortcut after a tab.
    if (action->text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste")) {
      disconnect(action, &QAction::triggered, nullptr, nullptr);
      connect(action, &QAction::triggered, this,
              [this] { Paste(QGuiApplication::clipboard()->text()); });
    }
  }
  menu->popup(event->globalPos());
}

void OctetEdit::mouseReleaseEvent(QMouseEvent* event) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
    deselect();
    Paste(clipboard->text(QClipboard::Selection));
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void OctetEdit::dropEvent(QDropEvent* event) {
  const QString text = event->mimeData()->text();
  // A drag within the field only moves its own text.
  if (text.isEmpty() || event->source() == this || isReadOnly()) {
    QLineEdit::dropEvent(event);
    return;
  }
  setCursorPosition(cursorPositionAt(event->position().toPoint()));
  event->acceptProposedAction();
  Paste(text);
}

void OctetEdit::Paste(const QString& text) {
  // Only as much as tells that the text is longer than any address goes into the program.
  if (host_ != nullptr &&
      host_->OctetPaste(index_,
                        ToText(text.left(static_cast<qsizetype>(kLongestAddressText) + 1)))) {
    return;
  }
  const qsizetype room = kTypingLimit - (this->text().size() - selectedText().size());
  insert(text.left(std::max<qsizetype>(room, 0)));
}

void MaskCombo::keyPressEvent(QKeyEvent* event) {
  const char16_t typed = TypedCharacter(*event);
  if (host_ != nullptr && typed != 0 && host_->MaskListCharacter(typed) == 0) {
    return;
  }
  QComboBox::keyPressEvent(event);
}

void MaskCombo::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (host_ != nullptr) {
    host_->MaskListFocusOut();
  }
}

}  // namespace maskora
