// SPDX-License-Identifier: MIT
// DLLs that come with Windows, loaded from the system folder only: never from the program's
// folder (a Downloads folder may hold a planted winhttp.dll) or the current one. The network
// DLLs are loaded this way on first use instead of being imported when the program starts.
#pragma once

#include <windows.h>

namespace maskora {

// Makes every later DLL search, the dependencies of loaded DLLs included, look in the system
// folder only. First thing in WinMain; does what the system allows where it is older.
void SearchDllsInSystemFolderOnly();

// The DLL of that name from the system folder; null when it can't be loaded.
HMODULE SystemLibrary(const wchar_t* name);

// A function of a loaded DLL, typed; null when the DLL lacks it.
template <typename Function>
Function* LibraryFunction(HMODULE library, const char* name) {
  // Through the generic function type, which any function pointer converts to and from.
  return reinterpret_cast<Function*>(
      reinterpret_cast<void (*)()>(library == nullptr ? nullptr : GetProcAddress(library, name)));
}

}  // namespace maskora
