// SPDX-License-Identifier: MIT
#include "window/win32/win32_runtime.h"

#include "window/win32/win32_wheel_hook.h"

namespace maskora {

namespace {

// The longest that one pass waits for a message when none is pending: short enough for a
// responsive poll, long enough that a waiting loop costs almost no processor time.
constexpr DWORD kIdleWaitMs = 50;
// A pass ends after this many messages even if more keep arriving, so a window that posts
// to itself can't hold the caller's loop.
constexpr int kMessagesPerPass = 1000;

}  // namespace

void DeliverMessage(MSG& message) {
  HWND form = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (form != nullptr && IsLoadedForm(form) && IsDialogMessageW(form, &message) != FALSE) {
    return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

double Win32Runtime::SecondsSinceMidnight() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

void Win32Runtime::HandlePendingEvents() {
  MSG message;
  if (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) == FALSE) {
    MsgWaitForMultipleObjectsEx(0, nullptr, kIdleWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
  for (int i = 0; i < kMessagesPerPass && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (message.message == WM_QUIT) {
      // The message loop of the program ends on it; leave it for that loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    DeliverMessage(message);
  }
}

char16_t Win32Runtime::DecimalSeparator() const {
  wchar_t separator[4] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) > 0 &&
      separator[0] != L'\0') {
    return static_cast<char16_t>(separator[0]);
  }
  return u'.';
}

}  // namespace maskora
