// SPDX-License-Identifier: MIT
#include "tests/win32/window_fixture.h"

#include <cstring>

namespace maskora::testing {

namespace {

constexpr DWORD kQuietMs = 30;
constexpr ULONGLONG kLongestPumpMs = 300;

void Send(WORD vk, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

// The key that types a character of a key string, with Shift when the layout needs it.
std::pair<WORD, bool> KeyOf(char16_t key) {
  switch (key) {
    case kLeft:
      return {VK_LEFT, false};
    case kUp:
      return {VK_UP, false};
    case kRight:
      return {VK_RIGHT, false};
    case kDown:
      return {VK_DOWN, false};
    case u'\b':
      return {VK_BACK, false};
    case u'\t':
      return {VK_TAB, false};
    case u'\r':
      return {VK_RETURN, false};
    case u'\x1b':
      return {VK_ESCAPE, false};
    default: {
      const SHORT scan = VkKeyScanW(static_cast<wchar_t>(key));
      return {static_cast<WORD>(LOBYTE(scan)), (HIBYTE(scan) & 1) != 0};
    }
  }
}

}  // namespace

void PutOnClipboard(HWND owner, const Text& text) {
  ASSERT_NE(OpenClipboard(owner), FALSE);
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
  std::memcpy(GlobalLock(data), text.c_str(), bytes);
  GlobalUnlock(data);
  SetClipboardData(CF_UNICODETEXT, data);
  CloseClipboard();
}

WindowTest::WindowTest() : window_(GetModuleHandleW(nullptr), runtime_, sources_, &boxes_) {
  window_.Open();
  window_.Show(SW_SHOWNORMAL);
  SetForegroundWindow(window_.hwnd());
  Pump();
}

WindowTest::~WindowTest() {
  if (IsWindow(window_.hwnd()) != FALSE) {
    SendMessageW(window_.hwnd(), WM_CLOSE, 0, 0);
  }
  Pump();
}

Octets WindowTest::OctetTexts() const {
  return {WindowText(Octet(0)), WindowText(Octet(1)), WindowText(Octet(2)), WindowText(Octet(3))};
}

void WindowTest::SetOctets(const Octets& texts) {
  for (int i = 0; i < 4; ++i) {
    SetWindowTextW(Octet(i), reinterpret_cast<const wchar_t*>(texts[i].c_str()));
  }
}

int WindowTest::MaskIndex() const {
  return static_cast<int>(SendMessageW(Control(ControlId::cmbMask), CB_GETCURSEL, 0, 0));
}

std::optional<ControlId> WindowTest::Focused() const {
  HWND focus = GetFocus();
  for (const ControlDescription& d : kForm1Controls) {
    if (focus != nullptr && Control(d.id) == focus) {
      return d.id;
    }
  }
  return std::nullopt;
}

void WindowTest::Prepare(const Octets& texts, int field, int selStart, int selLength) {
  SetFocus(Control(ControlId::cmdCalc));
  SetOctets(texts);
  SetFocus(Octet(field));
  SendMessageW(Octet(field), EM_SETSEL, static_cast<WPARAM>(selStart), selStart + selLength);
  Pump();
}

void WindowTest::Pump() {
  // A button under the pointer tracks it with a timer that never lets the queue fall quiet.
  const ULONGLONG end = GetTickCount64() + kLongestPumpMs;
  MSG message;
  do {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      DeliverMessage(message);
    }
  } while (GetTickCount64() < end &&
           MsgWaitForMultipleObjects(0, nullptr, FALSE, kQuietMs, QS_ALLINPUT) == WAIT_OBJECT_0);
}

void WindowTest::KeyDown(WORD vk) {
  Send(vk, 0);
  Pump();
}

void WindowTest::KeyUp(WORD vk) {
  Send(vk, KEYEVENTF_KEYUP);
  Pump();
}

void WindowTest::Type(std::u16string_view keys) {
  for (const char16_t key : keys) {
    const auto [vk, shift] = KeyOf(key);
    if (shift) {
      KeyDown(VK_SHIFT);
    }
    KeyDown(vk);
    KeyUp(vk);
    if (shift) {
      KeyUp(VK_SHIFT);
    }
  }
}

void WindowTest::AltKey(char16_t key) {
  KeyDown(VK_MENU);
  Type(std::u16string(1, key));
  KeyUp(VK_MENU);
}

void WindowTest::CtrlKey(char16_t key) {
  KeyDown(VK_CONTROL);
  Type(std::u16string(1, key));
  KeyUp(VK_CONTROL);
}

void WindowTest::ChooseFromMenu(HWND control, char16_t accessKey) {
  // The character waits in the queue for the menu's own loop, which runs until a choice. No
  // key is pressed or released, so no key release reaches the field afterwards.
  PostMessageW(control, WM_CHAR, accessKey, 0);
  RECT place{};
  GetWindowRect(control, &place);
  SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control),
               MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2));
  Pump();
}

void WindowTest::Notch(POINT at, int rotation) {
  SetCursorPos(at.x, at.y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_WHEEL;
  input.mi.mouseData = static_cast<DWORD>(rotation);
  SendInput(1, &input, sizeof(input));
  Pump();
}

}  // namespace maskora::testing
