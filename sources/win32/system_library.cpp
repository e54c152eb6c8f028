// SPDX-License-Identifier: MIT
#include "sources/win32/system_library.h"

#include <string>

namespace maskora {

void SearchDllsInSystemFolderOnly() {
  // Windows 8 and later, and 7 with its security updates; looked up, so that the program
  // still starts where it is missing.
  using SetDefaultDllDirectoriesFunction = BOOL WINAPI(DWORD);
  const auto setDefault = LibraryFunction<SetDefaultDllDirectoriesFunction>(
      GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (setDefault != nullptr) {
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  // Takes the current folder out of the search everywhere.
  SetDllDirectoryW(L"");
}

HMODULE SystemLibrary(const wchar_t* name) {
  HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
    // A system without the search flags: the full path, its dependencies looked for beside it.
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
      return nullptr;
    }
    path.resize(length);
    path += L'\\';
    path += name;
    library = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
  return library;
}

}  // namespace maskora
