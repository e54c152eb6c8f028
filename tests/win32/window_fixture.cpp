#include "tests/win32/window_fixture.h"

namespace maskora::testing {

namespace {

constexpr DWORD kQuietMs = 30;

void Send(WORD vk, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

}  // namespace

WindowTest::WindowTest()
    : runtime_([this](MSG& m) { return window_.TranslateDialogMessage(m); },
               [this] { return window_.IsUnloaded(); }),
      window_(GetModuleHandleW(nullptr), boxes_, runtime_, sources_),
      hook_(window_.hwnd()) {
  window_.SetQuitOnDestroy(false);
  window_.SetWheelHook(&hook_);
  window_.Load();
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

std::array<Text, 4> WindowTest::Octets() const {
  return {TextOf(kIdTxtIP0), TextOf(kIdTxtIP0 + 1), TextOf(kIdTxtIP0 + 2), TextOf(kIdTxtIP0 + 3)};
}

void WindowTest::SetOctets(const std::array<Text, 4>& texts) {
  for (int i = 0; i < 4; ++i) {
    SetWindowTextW(Octet(i), reinterpret_cast<const wchar_t*>(texts[i].c_str()));
  }
}

int WindowTest::FocusedId() const {
  HWND focus = GetFocus();
  return focus != nullptr && IsChild(window_.hwnd(), focus) != FALSE ? GetDlgCtrlID(focus) : 0;
}

std::pair<int, int> WindowTest::Selection(int id) const {
  DWORD first = 0;
  DWORD last = 0;
  SendMessageW(Control(id), EM_GETSEL, reinterpret_cast<WPARAM>(&first),
               reinterpret_cast<LPARAM>(&last));
  return {static_cast<int>(first), static_cast<int>(last - first)};
}

void WindowTest::Pump() {
  const auto translate = [this](MSG& m) { return window_.TranslateDialogMessage(m); };
  MSG message;
  do {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      DeliverMessage(message, translate);
    }
  } while (MsgWaitForMultipleObjects(0, nullptr, FALSE, kQuietMs, QS_ALLINPUT) == WAIT_OBJECT_0);
}

void WindowTest::KeyDown(WORD vk) {
  Send(vk, 0);
  Pump();
}

void WindowTest::KeyUp(WORD vk) {
  Send(vk, KEYEVENTF_KEYUP);
  Pump();
}

void WindowTest::Type(const std::u16string& keys) {
  for (const char16_t key : keys) {
    if (key >= 0xE000) {
      const auto vk = static_cast<WORD>(key - 0xE000);
      KeyDown(vk);
      KeyUp(vk);
      continue;
    }
    const SHORT scan = VkKeyScanW(static_cast<wchar_t>(key));
    const auto vk = static_cast<WORD>(LOBYTE(scan));
    const bool shift = (HIBYTE(scan) & 1) != 0;
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

void WindowTest::AltKey(char letter) {
  KeyDown(VK_MENU);
  KeyDown(static_cast<WORD>(letter));
  KeyUp(static_cast<WORD>(letter));
  KeyUp(VK_MENU);
}

}  // namespace maskora::testing
