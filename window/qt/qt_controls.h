// The contract's controls on Qt widgets.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "window/contract.h"
#include "window/form1.h"

namespace maskora {

// Runs a handler from a Qt event. A handler that was waiting when the window closed unwinds
// with FormUnloaded; it ends here, never inside Qt.
template <typename Handler>
void Dispatch(Handler&& handler) {
  try {
    handler();
  } catch (const FormUnloaded&) {
  }
}

Text ToText(const QString& text);
QString ToQString(const Text& text);

class QtTextField : public TextField {
 public:
  explicit QtTextField(QLineEdit* edit) : edit_(edit) {}
  Text GetText() const override;
  void SetText(const Text& text) override;
  int SelStart() const override;
  void SetSelStart(int start) override;
  int SelLength() const override;
  void SetSelLength(int length) override;
  void SetFocus() override;

 private:
  QLineEdit* edit_;
};

class QtDropDownList : public DropDownList {
 public:
  explicit QtDropDownList(QComboBox* combo) : combo_(combo) {}
  void Clear() override;
  void AddItem(const Text& text) override;
  int ListCount() const override { return combo_->count(); }
  int ListIndex() const override { return combo_->currentIndex(); }
  void SetListIndex(int index) override { combo_->setCurrentIndex(index); }

 private:
  QComboBox* combo_;
};

class QtPushButton : public PushButton {
 public:
  explicit QtPushButton(QPushButton* button) : button_(button) {}
  bool Enabled() const override { return button_->isEnabled(); }
  void SetEnabled(bool enabled) override { button_->setEnabled(enabled); }
  Text Tag() const override { return tag_; }
  void SetTag(const Text& tag) override { tag_ = tag; }

 private:
  QPushButton* button_;
  Text tag_;
};

// Holds typing and pasting to three characters (a line edit's maximum length would also cut
// what the program writes). A field that the program filled beyond the limit can still be
// shortened.
class OctetLengthValidator : public QValidator {
 public:
  explicit OctetLengthValidator(QLineEdit* edit);
  State validate(QString& input, int& pos) const override;

 private:
  qsizetype length_;  // of the text as it was last accepted
};

// An octet field: feeds its keys and focus changes to the form's handlers in the order that
// the handlers expect (key down, character, insertion, key released to the focused field).
class OctetEdit : public QLineEdit {
 public:
  OctetEdit(std::int16_t index, QWidget* parent);
  void SetForm(Form1* form) { form_ = form; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  std::int16_t index_;
  Form1* form_ = nullptr;
  // Whether the form's focus-gained handler ran without a focus-lost one since: switching to
  // another window, or a message box, neither leaves nor enters the field.
  bool entered_ = false;
};

}  // namespace maskora
