// SPDX-License-Identifier: MIT
// Keys, characters, pastes, focus and the wheel of the octet fields and the mask list, reported
// to the host in the order that the handlers rely on: key down, character, insertion into the
// field typed into, key released to the field that has the focus by then (the window system
// delivers it there). The result fields hand the wheel on to the window, and the push button
// with the focus is the default one.
// The window system's declarations come first; the common controls build on them.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <algorithm>

#include "address/address.h"
#include "window/win32/form1_window.h"

namespace maskora {

namespace {

Key KeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_LEFT:
      return Key::Left;
    case VK_UP:
      return Key::Up;
    case VK_RIGHT:
      return Key::Right;
    case VK_DOWN:
      return Key::Down;
    default:
      return Key::Other;
  }
}

// The clipboard's text, empty when it holds none; of a text longer than any address only as
// much as tells so.
Text ClipboardText(HWND owner) {
  Text text;
  if (OpenClipboard(owner) == FALSE) {
    return text;
  }
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT); data != nullptr) {
    if (const auto* chars = static_cast<const char16_t*>(GlobalLock(data)); chars != nullptr) {
      const std::size_t capacity =
          std::min(GlobalSize(data) / sizeof(char16_t), kLongestAddressText + 1);
      std::size_t length = 0;
      while (length < capacity && chars[length] != u'\0') {
        ++length;
      }
      text.assign(chars, length);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Marks the handling of a key in an octet field, nested or not.
class KeyScope {
 public:
  explicit KeyScope(int& depth) : depth_(depth) { ++depth_; }
  ~KeyScope() { --depth_; }
  KeyScope(const KeyScope&) = delete;
  KeyScope& operator=(const KeyScope&) = delete;

 private:
  int& depth_;
};

bool IsDialogKey(const MSG* message) {
  return message != nullptr && (message->message == WM_KEYDOWN || message->message == WM_CHAR) &&
         (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE);
}

}  // namespace

LRESULT CALLBACK Form1Window::OctetProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR index, DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(edit, &OctetProc, index);
    return DefSubclassProc(edit, message, wParam, lParam);
  }
  return reinterpret_cast<Form1Window*>(self)->HandleOctetMessage(edit, static_cast<int>(index),
                                                                  message, wParam, lParam);
}

LRESULT Form1Window::HandleOctetMessage(HWND edit, int index, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  if (host_ == nullptr) {
    return DefSubclassProc(edit, message, wParam, lParam);
  }
  switch (message) {
    case WM_GETDLGCODE: {
      // Enter and Escape are characters of the field like any other, not the window's.
      const LRESULT code = DefSubclassProc(edit, message, wParam, lParam);
      return IsDialogKey(reinterpret_cast<const MSG*>(lParam)) ? code | DLGC_WANTMESSAGE : code;
    }
    case WM_KEYDOWN: {
      host_->OctetKeyDown(index, KeyOf(wParam));
      const KeyScope key(inKey_);
      // Shift+Insert pastes as Ctrl+V does: through the paste message, which the field would
      // otherwise bypass.
      if (wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0 &&
          GetKeyState(VK_MENU) >= 0) {
        SendMessageW(edit, WM_PASTE, 0, 0);
        return 0;
      }
      return DefSubclassProc(edit, message, wParam, lParam);
    }
    case WM_CHAR: {
      const char16_t inserted = host_->OctetCharacter(index, static_cast<char16_t>(wParam));
      const KeyScope key(inKey_);
      if (inserted != 0) {
        return DefSubclassProc(edit, message, inserted, lParam);
      }
      // Ctrl chords arrive as control characters; they still do their editing command
      // (copy, cut, paste, undo), which puts no character into the field.
      if (wParam < 0x20 && GetKeyState(VK_CONTROL) < 0) {
        return DefSubclassProc(edit, message, wParam, lParam);
      }
      return 0;
    }
    case WM_KEYUP:
      host_->OctetKeyUp();
      return DefSubclassProc(edit, message, wParam, lParam);
    case WM_PASTE:
      if (host_->OctetPaste(index, ClipboardText(edit))) {
        return 0;
      }
      [[fallthrough]];
    // The edits of the field's menu and of its keys; a key's are computed at its release.
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      if (inKey_ == 0) {
        host_->OctetEdited();
      }
      return result;
    }
    case WM_SETFOCUS: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      host_->OctetFocusIn(index);
      return result;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      const auto next = reinterpret_cast<HWND>(wParam);
      host_->OctetFocusOut(index, next != nullptr && IsChild(hwnd_, next) != FALSE);
      return result;
    }
    case WM_MOUSEWHEEL:
      // A single-line field has no use for the wheel; not every edit control hands it on to
      // its parent by itself, where the wheel hook waits for it.
      return SendMessageW(hwnd_, message, wParam, lParam);
    default:
      return DefSubclassProc(edit, message, wParam, lParam);
  }
}

LRESULT CALLBACK Form1Window::MaskListProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(combo, &MaskListProc, id);
    return DefSubclassProc(combo, message, wParam, lParam);
  }
  return reinterpret_cast<Form1Window*>(self)->HandleMaskListMessage(combo, message, wParam,
                                                                     lParam);
}

LRESULT Form1Window::HandleMaskListMessage(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
  if (host_ == nullptr) {
    return DefSubclassProc(combo, message, wParam, lParam);
  }
  switch (message) {
    case WM_CHAR: {
      const char16_t left = host_->MaskListCharacter(static_cast<char16_t>(wParam));
      return left != 0 ? DefSubclassProc(combo, message, left, lParam) : 0;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(combo, message, wParam, lParam);
      host_->MaskListFocusOut();
      return result;
    }
    case WM_MOUSEWHEEL: {
      // The wheel acts by the focus, whatever control the pointer is over: the list takes a
      // notch only while it has the focus; otherwise the window's hook decides.
      HWND focus = GetFocus();
      if (focus != combo && IsChild(combo, focus) == FALSE) {
        return SendMessageW(hwnd_, message, wParam, lParam);
      }
      return DefSubclassProc(combo, message, wParam, lParam);
    }
    default:
      return DefSubclassProc(combo, message, wParam, lParam);
  }
}

LRESULT CALLBACK Form1Window::ResultFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR id, DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(edit, &ResultFieldProc, id);
  } else if (message == WM_MOUSEWHEEL) {
    // A result's one line has no use for the wheel, which the edit control would keep: it goes
    // to the window, as it does from an octet field.
    return SendMessageW(reinterpret_cast<Form1Window*>(self)->hwnd_, message, wParam, lParam);
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

// The push button that has the focus is the default button, as in a dialog: it shows so, and
// Enter presses it.
LRESULT CALLBACK Form1Window::ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(button, &ButtonProc, id);
    return DefSubclassProc(button, message, wParam, lParam);
  }
  const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
    SendMessageW(button, BM_SETSTYLE, message == WM_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                 TRUE);
  }
  return result;
}

}  // namespace maskora
