// SPDX-License-Identifier: MIT
#include "window/win32/win32_controls.h"

#include <algorithm>

namespace maskora {

namespace {

const wchar_t* Wide(const Text& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The selection as the edit reports it: first and one past the last selected character.
std::pair<int, int> Selection(HWND edit) {
  DWORD first = 0;
  DWORD last = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
  return {static_cast<int>(first), static_cast<int>(last)};
}

}  // namespace

Text WindowText(HWND window) {
  Text text(static_cast<std::size_t>(std::max(GetWindowTextLengthW(window), 0)) + 1, u'\0');
  const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()),
                                    static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

// SetWindowText is not bound by the typing limit of EM_LIMITTEXT, so the text lands whole.
void Win32TextField::SetText(const Text& text) {
  SetWindowTextW(edit_, Wide(text));
}

int Win32TextField::SelectionStart() const {
  return Selection(edit_).first;
}

void Win32TextField::SetSelectionStart(int start) {
  const int length = GetWindowTextLengthW(edit_);
  start = std::clamp(start, 0, length);
  SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(start), start);
}

int Win32TextField::SelectionLength() const {
  const auto [first, last] = Selection(edit_);
  return last - first;
}

void Win32TextField::SetSelectionLength(int length) {
  const int start = SelectionStart();
  const int end = std::clamp(start + std::max(length, 0), start, GetWindowTextLengthW(edit_));
  SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(start), end);
}

void Win32DropDownList::Clear() {
  SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
}

void Win32DropDownList::Append(const Text& text) {
  SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text)));
}

int Win32DropDownList::SelectedIndex() const {
  const LRESULT index = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

// The combo box tells its parent of the user's choices only; a choice of the program is
// announced here, like the user's.
void Win32DropDownList::Select(int index) {
  if (index == SelectedIndex()) {
    return;
  }
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (onClick_) {
    onClick_();
  }
}

// A disabled window keeps the focus it had and takes no keys: the focus goes on to the
// next control instead, as Tab would take it.
void Win32PushButton::SetEnabled(bool enabled) {
  if (!enabled && GetFocus() == button_) {
    if (HWND next = GetNextDlgTabItem(GetParent(button_), button_, FALSE);
        next != nullptr && next != button_) {
      ::SetFocus(next);
    }
  }
  EnableWindow(button_, enabled ? TRUE : FALSE);
}

}  // namespace maskora
