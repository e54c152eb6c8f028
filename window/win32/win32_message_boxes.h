// SPDX-License-Identifier: MIT
// Modal message boxes of the window system, owned by the main window.
#pragma once

#include <windows.h>

#include "window/contract.h"

namespace maskora {

class Win32MessageBoxes : public MessageBoxes {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void MsgBox(const Text& text, MessageIcon icon, const Text& title = {}) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace maskora
