// SPDX-License-Identifier: MIT
#include "sources/win32/winhttp_functions.h"

#include <type_traits>

#include "sources/win32/system_library.h"

namespace maskora {

const WinHttpFunctions* WinHttp() {
  static const WinHttpFunctions* const functions = []() -> const WinHttpFunctions* {
    static WinHttpFunctions loaded;
    const HMODULE library = SystemLibrary(L"winhttp.dll");
    bool complete = library != nullptr;
#define MASKORA_WINHTTP_LOAD(name)                                                             \
  loaded.name = LibraryFunction<std::remove_pointer_t<decltype(loaded.name)>>(library, #name); \
  complete = complete && loaded.name != nullptr;
    MASKORA_WINHTTP_FUNCTIONS(MASKORA_WINHTTP_LOAD)
#undef MASKORA_WINHTTP_LOAD
    return complete ? &loaded : nullptr;
  }();
  return functions;
}

}  // namespace maskora
