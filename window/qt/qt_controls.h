// SPDX-License-Identifier: MIT
// The contract's controls on Qt widgets.
#pragma once

#include <string_view>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "window/contract.h"

namespace maskora {

Text ToText(const QString& text);
QString ToQString(std::u16string_view text);

class QtTextField : public TextField {
 public:
  explicit QtTextField(QLineEdit* edit) : edit_(edit) {}
  Text GetText() const override;
  void SetText(const Text& text) override;
  int SelectionStart() const override;
  void SetSelectionStart(int start) override;
  int SelectionLength() const override;
  void SetSelectionLength(int length) override;
  void SetFocus() override;

 private:
  QLineEdit* edit_;
};

class QtDropDownList : public DropDownList {
 public:
  explicit QtDropDownList(QComboBox* combo) : combo_(combo) {}
  void Clear() override;
  void Append(const Text& text) override;
  int SelectedIndex() const override { return combo_->currentIndex(); }
  void Select(int index) override { combo_->setCurrentIndex(index); }
  void SetFocus() override { combo_->setFocus(Qt::OtherFocusReason); }

 private:
  QComboBox* combo_;
};

class QtPushButton : public PushButton {
 public:
  explicit QtPushButton(QPushButton* button) : button_(button) {}
  void SetEnabled(bool enabled) override { button_->setEnabled(enabled); }
  Text Tag() const override { return tag_; }
  void SetTag(const Text& tag) override { tag_ = tag; }

 private:
  QPushButton* button_;
  Text tag_;
};

}  // namespace maskora
