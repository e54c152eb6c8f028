// SPDX-License-Identifier: MIT
// Modal message boxes on Qt, over the window they belong to.
#pragma once

#include <QWidget>

#include "core/message_boxes.h"

namespace maskora {

class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent) : parent_(parent) {}
  void ShowMessage(const Text& text, MessageIcon icon, const Text& title) override;

 private:
  QWidget* parent_;
};

}  // namespace maskora
