// SPDX-License-Identifier: MIT
// A stand-in for a system DLL planted beside a program, as in a Downloads folder: when loaded,
// it leaves "<its name>.loaded" beside itself, and offers none of the functions.
#include <string>

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(instance, path.data(), MAX_PATH));
    path += L".loaded";
    HANDLE marker = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) {
      CloseHandle(marker);
    }
  }
  return TRUE;
}
