#include "window/qt/qt_controls.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace maskora {

namespace {

constexpr int kTypingLimit = 3;

// Windows virtual-key codes of the keys that the handlers look at.
std::int16_t KeyCode(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Delete:
      return 46;
    default:
      break;
  }
  const int key = event->key();
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) {
    return static_cast<std::int16_t>(key);
  }
  return 0;
}

std::int16_t ShiftState(Qt::KeyboardModifiers modifiers) {
  return static_cast<std::int16_t>((modifiers & Qt::ShiftModifier ? 1 : 0) |
                                   (modifiers & Qt::ControlModifier ? 2 : 0) |
                                   (modifiers & Qt::AltModifier ? 4 : 0));
}

// Keys that produce a character for the character handler. Delete and Tab carry a text under
// X but are no characters on a desktop's edit fields; Alt chords are menu keys.
bool ProducesCharacter(const QKeyEvent* event) {
  if (event->text().isEmpty()) {
    return false;
  }
  switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return false;
    default:
      break;
  }
  const Qt::KeyboardModifiers chord = event->modifiers() & (Qt::AltModifier | Qt::ControlModifier);
  return chord != Qt::AltModifier;
}

bool IsFocusFromOtherWindow(const QFocusEvent* event) {
  return event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
}

}  // namespace

Text ToText(const QString& text) {
  return Text(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

QString ToQString(const Text& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

Text QtTextField::GetText() const {
  return ToText(edit_->text());
}

void QtTextField::SetText(const Text& text) {
  edit_->setText(ToQString(text));
}

int QtTextField::SelStart() const {
  return edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
}

void QtTextField::SetSelStart(int start) {
  edit_->setCursorPosition(start);
}

int QtTextField::SelLength() const {
  return edit_->hasSelectedText() ? static_cast<int>(edit_->selectedText().size()) : 0;
}

void QtTextField::SetSelLength(int length) {
  const int start = SelStart();
  if (length > 0) {
    edit_->setSelection(start, length);
  } else {
    edit_->setCursorPosition(start);
  }
}

void QtTextField::SetFocus() {
  edit_->setFocus(Qt::OtherFocusReason);
}

void QtDropDownList::Clear() {
  const QSignalBlocker quiet(combo_);
  combo_->clear();
}

// Filling the list selects nothing; a combo box would select its first entry by itself.
void QtDropDownList::AddItem(const Text& text) {
  const QSignalBlocker quiet(combo_);
  const int selected = combo_->currentIndex();
  combo_->addItem(ToQString(text));
  combo_->setCurrentIndex(selected);
}

OctetLengthValidator::OctetLengthValidator(QLineEdit* edit)
    : QValidator(edit), length_(edit->text().size()) {
  connect(edit, &QLineEdit::textChanged, this,
          [this](const QString& text) { length_ = text.size(); });
}

QValidator::State OctetLengthValidator::validate(QString& input, int& /*pos*/) const {
  return input.size() <= kTypingLimit || input.size() < length_ ? Acceptable : Invalid;
}

OctetEdit::OctetEdit(std::int16_t index, QWidget* parent) : QLineEdit(parent), index_(index) {
  setValidator(new OctetLengthValidator(this));
}

void OctetEdit::keyPressEvent(QKeyEvent* event) {
  if (form_ == nullptr) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  std::int16_t keyCode = KeyCode(event);
  const std::int16_t shift = ShiftState(event->modifiers());
  Dispatch([&] { form_->txtIP_KeyDown(index_, keyCode, shift); });
  if (ProducesCharacter(event)) {
    std::int16_t keyAscii = static_cast<std::int16_t>(event->text().at(0).unicode());
    Dispatch([&] { form_->txtIP_KeyPress(index_, keyAscii); });
    // A discarded character is not inserted; Ctrl chords still do their editing command
    // (copy, paste, select all), which is no character.
    if (keyAscii == 0 && !(event->modifiers() & Qt::ControlModifier)) {
      event->accept();
      return;
    }
  }
  QLineEdit::keyPressEvent(event);
}

void OctetEdit::keyReleaseEvent(QKeyEvent* event) {
  // A held key repeats its press only, as on the desktop the handlers were written for.
  if (form_ != nullptr && !event->isAutoRepeat()) {
    std::int16_t keyCode = KeyCode(event);
    const std::int16_t shift = ShiftState(event->modifiers());
    Dispatch([&] { form_->txtIP_KeyUp(index_, keyCode, shift); });
  }
  QLineEdit::keyReleaseEvent(event);
}

void OctetEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (form_ != nullptr && !entered_) {
    entered_ = true;
    Dispatch([&] { form_->txtIP_GotFocus(index_); });
  }
}

void OctetEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (form_ != nullptr && entered_ && !IsFocusFromOtherWindow(event)) {
    entered_ = false;
    Dispatch([&] { form_->txtIP_LostFocus(index_); });
  }
}

}  // namespace maskora
