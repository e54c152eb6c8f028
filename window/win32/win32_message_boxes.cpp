// SPDX-License-Identifier: MIT
#include "window/win32/win32_message_boxes.h"

#include "window/form1_description.h"

namespace maskora {

namespace {

UINT IconStyle(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return MB_ICONINFORMATION;
    case MessageIcon::Exclamation:
      return MB_ICONEXCLAMATION;
    case MessageIcon::None:
      break;
  }
  return 0;
}

}  // namespace

void Win32MessageBoxes::ShowMessage(const Text& text, MessageIcon icon, const Text& title) {
  HWND owner = IsWindow(owner_) ? owner_ : nullptr;
  // The box disables its owner, which drops the focus; it goes back to the control that had
  // it, and for the window's handlers it never left.
  HWND focus = GetFocus();
  const Text shown = title.empty() ? Text(kForm1.appTitle) : title;
  MessageBoxW(owner, reinterpret_cast<const wchar_t*>(text.c_str()),
              reinterpret_cast<const wchar_t*>(shown.c_str()), MB_OK | IconStyle(icon));
  if (owner != nullptr && focus != nullptr && IsWindow(focus) && IsChild(owner, focus) &&
      GetActiveWindow() == owner) {
    SetFocus(focus);
  }
}

}  // namespace maskora
