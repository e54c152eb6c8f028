// SPDX-License-Identifier: MIT
#include "cli/win32_io.h"

#include <shellapi.h>

namespace maskora {

namespace {

bool IsHandle(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') {
      out += '\r';
    }
    out += c;
  }
  return out;
}

}  // namespace

std::vector<std::string> CommandLineArguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; wide != nullptr && i < count; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string argument(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argument.data(), size, nullptr, nullptr);
    argument.resize(argument.size() - 1);
    arguments.push_back(std::move(argument));
  }
  LocalFree(wide);
  return arguments;
}

std::size_t StandardSource::Read(char* buffer, std::size_t size) {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD got = 0;
  if (!IsHandle(input) ||
      ReadFile(input, buffer, static_cast<DWORD>(size), &got, nullptr) == FALSE) {
    return 0;  // the end, also of a pipe whose writer has gone
  }
  return got;
}

StandardSink::StandardSink(DWORD which) : handle_(GetStdHandle(which)) {
  // A window program has no console of its own: it answers on the one it was started from.
  if (!IsHandle(handle_)) {
    attached_ = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
    if (attached_ || GetLastError() == ERROR_ACCESS_DENIED) {  // or attached already
      console_ =
          CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
      handle_ = console_;
    }
  }
}

// Leaves the console it attached to: a window that goes on after saying something must not
// end with that console's Ctrl+C.
StandardSink::~StandardSink() {
  if (IsHandle(console_)) {
    CloseHandle(console_);
  }
  if (attached_) {
    FreeConsole();
  }
}

bool StandardSink::Usable() const {
  return IsHandle(handle_);
}

WriteResult StandardSink::Write(std::string_view bytes) {
  if (!Usable()) {
    return WriteResult::Failed;
  }
  const std::string text = WithCrLf(bytes);
  DWORD mode = 0;
  if (GetConsoleMode(handle_, &mode) != FALSE) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    DWORD written = 0;
    return WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written,
                         nullptr) != FALSE
               ? WriteResult::Written
               : WriteResult::Failed;
  }
  std::string_view rest = text;
  while (!rest.empty()) {
    DWORD written = 0;
    if (WriteFile(handle_, rest.data(), static_cast<DWORD>(rest.size()), &written, nullptr) ==
        FALSE) {
      const DWORD error = GetLastError();
      return error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE ? WriteResult::ReaderGone
                                                                  : WriteResult::Failed;
    }
    rest.remove_prefix(written);
  }
  return WriteResult::Written;
}

}  // namespace maskora
