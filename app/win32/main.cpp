// Maskora for Windows: wires the window to its Win32 binding, the address sources and the
// wheel hook.
// The window system's declarations come first; the common controls build on them.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "sources/address_lookups.h"
#include "sources/endpoint.h"
#include "sources/win32/system_library.h"
#include "sources/win32/win32_sockets.h"
#include "sources/win32/winhttp_client.h"
#include "window/win32/form1_window.h"
#include "window/win32/win32_message_boxes.h"
#include "window/win32/win32_runtime.h"
#include "window/win32/win32_wheel_hook.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
  using namespace maskora;
  // Before anything loads a DLL: a planted one beside the program is never picked up.
  SearchDllsInSystemFolderOnly();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  Win32MessageBoxes dialogs;
  Form1Window* window = nullptr;
  Win32Runtime runtime(
      [&window](MSG& m) { return window != nullptr && window->TranslateDialogMessage(m); },
      [&window] { return window != nullptr && window->IsUnloaded(); });
  Win32Sockets sockets;
  WinHttpClientFactory clients;
  AddressLookups sources(sockets, dialogs, runtime, clients, ConfiguredEndpoint());

  Form1Window form(instance, dialogs, runtime, sources);
  if (form.hwnd() == nullptr) {
    return 1;
  }
  window = &form;
  dialogs.SetOwner(form.hwnd());
  Win32WheelHook wheel(form.hwnd());
  form.SetWheelHook(&wheel);
  form.Load();
  form.Show(showCommand);
  const int exitCode = form.RunMessageLoop();
  // The hook object ends before the form does; the window, and with it the hook, is gone.
  form.SetWheelHook(nullptr);
  return exitCode;
}
