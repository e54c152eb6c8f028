// SPDX-License-Identifier: MIT
// Modal message boxes of the window system, owned by the main window.
#pragma once

#include <windows.h>

#include "core/message_boxes.h"

namespace maskora {

class Win32MessageBoxes : public MessageBoxes {
 public:
  explicit Win32MessageBoxes(HWND owner) : owner_(owner) {}
  void ShowMessage(const Text& text, MessageIcon icon, const Text& title = {}) override;

 private:
  HWND owner_;
};

}  // namespace maskora
