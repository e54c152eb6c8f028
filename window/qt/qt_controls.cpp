// SPDX-License-Identifier: MIT
#include "window/qt/qt_controls.h"

namespace maskora {

Text ToText(const QString& text) {
  return Text(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

Text QtTextField::GetText() const {
  return ToText(edit_->text());
}

void QtTextField::SetText(const Text& text) {
  edit_->setText(ToQString(text));
  // A result is read from its start; the caret at its end would scroll a long one out of view.
  if (edit_->isReadOnly()) {
    edit_->home(false);
  }
}

int QtTextField::SelectionStart() const {
  return edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
}

void QtTextField::SetSelectionStart(int start) {
  edit_->setCursorPosition(start);
}

int QtTextField::SelectionLength() const {
  return edit_->hasSelectedText() ? static_cast<int>(edit_->selectedText().size()) : 0;
}

void QtTextField::SetSelectionLength(int length) {
  const int start = SelectionStart();
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
void QtDropDownList::Append(const Text& text) {
  const QSignalBlocker quiet(combo_);
  const int selected = combo_->currentIndex();
  combo_->addItem(ToQString(text));
  combo_->setCurrentIndex(selected);
}

}  // namespace maskora
