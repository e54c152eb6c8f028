// SPDX-License-Identifier: MIT
#include "app/win32/console_output.h"

#include <string>

namespace maskora {

namespace {

std::string WithCrLf(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') {
      out += '\r';
    }
    out += c;
  }
  return out;
}

bool Usable(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

void Write(HANDLE handle, const std::string& bytes) {
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode) != FALSE) {
    // A console shows UTF-16 whatever its code page.
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                        size);
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

}  // namespace

void WriteStandard(DWORD which, std::string_view text) {
  const std::string bytes = WithCrLf(text);
  HANDLE handle = GetStdHandle(which);
  HANDLE console = nullptr;
  bool attached = false;
  if (!Usable(handle)) {
    attached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    if (attached || GetLastError() == ERROR_ACCESS_DENIED) {  // or attached already
      console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
      handle = console;
    }
  }
  if (Usable(handle)) {
    Write(handle, bytes);
  }
  if (Usable(console)) {
    CloseHandle(console);
  }
  // The window goes on after a start-up message: attached, Ctrl+C in that console would end it.
  if (attached) {
    FreeConsole();
  }
}

}  // namespace maskora
