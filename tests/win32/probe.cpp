// Reads and drives a running Maskora window from another process, for the end-to-end test:
//   probe wait SECONDS   until the window is up and has computed its first results
//   probe read           every control's text, the selected mask and the focused control
//   probe box            title and texts of an open message box, which it then closes
//   probe close          asks the window to close
#include <cstdio>
#include <string>

#include <windows.h>

#include "window/win32/control_ids.h"

namespace {

using namespace maskora::win32;

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

// WM_GETTEXT crosses processes; the window system copies the text back.
std::wstring TextOf(HWND window) {
  wchar_t buffer[512] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 2000,
                      nullptr);
  return buffer;
}

std::string Escaped(const std::wstring& text) {
  std::string out;
  for (const char c : Utf8(text)) {
    out += c == '\n' ? std::string("\\n") : c == '\r' ? std::string("\\r") : std::string(1, c);
  }
  return out;
}

HWND Form() {
  return FindWindowW(kFormClassName, nullptr);
}

int Wait(int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    HWND form = Form();
    if (form != nullptr && IsWindowVisible(form) != FALSE &&
        !TextOf(GetDlgItem(form, kIdTxtNetwork)).empty()) {
      return 0;
    }
    Sleep(100);
  }
  std::puts("no Maskora window");
  return 1;
}

int Read() {
  HWND form = Form();
  if (form == nullptr) {
    std::puts("no Maskora window");
    return 1;
  }
  std::printf("caption=%s\n", Escaped(TextOf(form)).c_str());
  for (const ControlName& c : kControlNames) {
    HWND control = GetDlgItem(form, c.id);
    const std::string name = c.index < 0 ? c.name : std::string(c.name) + std::to_string(c.index);
    std::printf("%s=%s\n", name.c_str(), Escaped(TextOf(control)).c_str());
    if (c.id == kIdCmdSet) {
      std::printf("cmdSet.enabled=%d\n", IsWindowEnabled(control) != FALSE ? 1 : 0);
    }
  }
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  std::string focus = "none";
  if (GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info) != FALSE &&
      info.hwndFocus != nullptr) {
    for (const ControlName& c : kControlNames) {
      if (GetDlgItem(form, c.id) == info.hwndFocus) {
        focus = c.index < 0 ? c.name : std::string(c.name) + std::to_string(c.index);
      }
    }
  }
  std::printf("focus=%s\n", focus.c_str());
  return 0;
}

BOOL CALLBACK PrintBoxText(HWND child, LPARAM) {
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  if (lstrcmpiW(name, L"Static") == 0 && IsWindowVisible(child) != FALSE) {
    const std::wstring text = TextOf(child);
    if (!text.empty()) {
      std::printf("text=%s\n", Escaped(text).c_str());
    }
  }
  return TRUE;
}

int Box(int seconds) {
  HWND form = Form();
  const DWORD thread = form != nullptr ? GetWindowThreadProcessId(form, nullptr) : 0;
  for (int i = 0; thread != 0 && i < seconds * 10; ++i) {
    HWND box = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM found) -> BOOL {
          wchar_t name[32] = {};
          GetClassNameW(window, name, 32);
          if (std::wstring(name) == L"#32770" && IsWindowVisible(window) != FALSE) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&box));
    if (box != nullptr) {
      std::printf("title=%s\n", Escaped(TextOf(box)).c_str());
      EnumChildWindows(box, &PrintBoxText, 0);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    Sleep(100);
  }
  std::puts("no message box");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
  if (command == "wait") {
    return Wait(seconds);
  }
  if (command == "read") {
    return Read();
  }
  if (command == "box") {
    return Box(seconds);
  }
  if (command == "close") {
    HWND form = Form();
    return form != nullptr && PostMessageW(form, WM_CLOSE, 0, 0) != FALSE ? 0 : 1;
  }
  std::fputs("usage: probe wait|read|box|close [SECONDS]\n", stderr);
  return 2;
}
