// SPDX-License-Identifier: MIT
// Modal message boxes on Qt.
#pragma once

#include <QWidget>

#include "window/contract.h"

namespace maskora {

class QtMessageBoxes : public MessageBoxes {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }
  void MsgBox(const Text& text, MessageIcon icon, const Text& title) override;

 private:
  QWidget* parent_ = nullptr;
};

}  // namespace maskora
