// SPDX-License-Identifier: MIT
// Starts as Maskora.exe does and then loads the network DLLs through the address sources: the
// WinHTTP client makes a request, the sockets start and stop. Exits 0 when both worked.
// With "unprotected", loads the two DLLs by name as an import at start-up would be found.
#include <cwchar>

#include <windows.h>

#include "sources/local_lookup.h"
#include "sources/win32/system_library.h"
#include "sources/win32/win32_sockets.h"
#include "sources/win32/winhttp_client.h"

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && std::wcscmp(argv[1], L"unprotected") == 0) {
    LoadLibraryW(L"winhttp.dll");
    LoadLibraryW(L"wsock32.dll");
    return 0;
  }
  maskora::SearchDllsInSystemFolderOnly();
  maskora::WinHttpClient client;
  bool opened = true;
  try {
    client.Open(u"https://127.0.0.1:9/");
    client.Send();
  } catch (const maskora::HttpError&) {
    opened = false;
  }
  client.Abort();
  maskora::Win32Sockets sockets;
  maskora::SocketsData data;
  const bool started = sockets.Startup(maskora::kRequestedSocketsVersion, data) == 0;
  if (started) {
    sockets.Cleanup();
  }
  return opened && started ? 0 : 1;
}
