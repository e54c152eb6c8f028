// SPDX-License-Identifier: MIT
// Reads and drives a running Maskora window from another process, for the end-to-end test.
// Controls are named as the window's description names them (txtIP0, cmbMask, ...).
//   probe wait SECONDS   until the window is up and has computed its first results
//   probe read           every control's text, the selected mask and the focused control
//   probe place NAME     screen rectangle of a control, or of the window for "window"
//   probe box SECONDS    title and texts of an open message box, which it then closes
//   probe clip TEXT      puts TEXT on the clipboard, as its owner
//   probe close          asks the window to close
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <windows.h>

#include "window/win32/control_ids.h"

namespace {

using namespace maskora;
using namespace maskora::win32;

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), size);
  out.resize(out.size() - 1);
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

std::string NameOf(const ControlDescription& d) {
  return std::string(d.name) + (d.index < 0 ? "" : std::to_string(d.index));
}

HWND Form() {
  return FindWindowW(kFormClassName, nullptr);
}

int Wait(int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    HWND form = Form();
    if (form != nullptr && IsWindowVisible(form) != FALSE &&
        !TextOf(GetDlgItem(form, DialogId(ControlId::txtNetwork))).empty()) {
      return 0;
    }
    Sleep(100);
  }
  std::puts("no Maskora window");
  return 1;
}

int Read(HWND form) {
  std::printf("caption=%s\n", Escaped(TextOf(form)).c_str());
  for (const ControlDescription& d : kForm1Controls) {
    HWND control = GetDlgItem(form, DialogId(d.id));
    std::printf("%s=%s\n", NameOf(d).c_str(), Escaped(TextOf(control)).c_str());
    if (d.id == ControlId::cmdSet) {
      std::printf("cmdSet.enabled=%d\n", IsWindowEnabled(control) != FALSE ? 1 : 0);
    }
  }
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  std::string focus = "none";
  if (GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info) != FALSE &&
      info.hwndFocus != nullptr) {
    if (const auto id = ControlOfDialogId(GetDlgCtrlID(info.hwndFocus));
        id && GetParent(info.hwndFocus) == form) {
      focus = NameOf(Describe(*id));
    }
  }
  std::printf("focus=%s\n", focus.c_str());
  return 0;
}

int Place(HWND form, const std::string& name) {
  HWND window = name == "window" ? form : nullptr;
  for (const ControlDescription& d : kForm1Controls) {
    if (NameOf(d) == name) {
      window = GetDlgItem(form, DialogId(d.id));
    }
  }
  RECT r{};
  if (window == nullptr || GetWindowRect(window, &r) == FALSE) {
    std::printf("no control %s\n", name.c_str());
    return 1;
  }
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
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

// A message box of Maskora's, with or without its window.
int Box(int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    HWND box = nullptr;
    EnumWindows(
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

// The text is rendered at once, so it stays on the clipboard after the probe has ended.
int Clip(const std::string& utf8) {
  const std::wstring text = Wide(utf8);
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (data == nullptr || OpenClipboard(nullptr) == FALSE) {
    std::puts("no clipboard");
    return 1;
  }
  std::memcpy(GlobalLock(data), text.c_str(), bytes);
  GlobalUnlock(data);
  EmptyClipboard();
  const bool set = SetClipboardData(CF_UNICODETEXT, data) != nullptr;
  CloseClipboard();
  return set ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  const std::string argument = argc > 2 ? argv[2] : "";
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
  if (command == "wait") {
    return Wait(seconds);
  }
  if (command == "clip") {
    return Clip(argument);
  }
  if (command == "box") {
    return Box(seconds);
  }
  HWND form = Form();
  if (form == nullptr) {
    std::puts("no Maskora window");
    return 1;
  }
  if (command == "read") {
    return Read(form);
  }
  if (command == "place") {
    return Place(form, argument);
  }
  if (command == "close") {
    return PostMessageW(form, WM_CLOSE, 0, 0) != FALSE ? 0 : 1;
  }
  std::fputs("usage: probe wait|read|place|box|clip|close [ARGUMENT]\n", stderr);
  return 2;
}
