// SPDX-License-Identifier: MIT
// Maskora.exe, the window program for Windows: answers the command line on the console it was
// started from, or makes the window with its address sources.
// The window system's declarations come first; the common controls build on them.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/streams.h"
#include "cli/win32_io.h"
#include "core/utf8.h"
#include "sources/address_lookups.h"
#include "sources/endpoint.h"
#include "sources/win32/system_library.h"
#include "sources/win32/win32_sockets.h"
#include "sources/win32/winhttp_client.h"
#include "window/win32/form1_window.h"
#include "window/win32/win32_message_boxes.h"
#include "window/win32/win32_runtime.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
  using namespace maskora;
  // Before anything loads a DLL: a planted one beside the program is never picked up.
  SearchDllsInSystemFolderOnly();
  const std::vector<std::string> arguments = CommandLineArguments();
  const std::vector<std::string_view> views(arguments.begin(), arguments.end());
  const CommandLine line = ReadCommandLine(views);
  if (line.action != CommandAction::OpenWindow) {
    StandardSource input;
    StandardSink output(STD_OUTPUT_HANDLE);
    StandardSink errors(STD_ERROR_HANDLE);
    // Started from a shortcut or "Open with", there is no console to say it on.
    if (line.action == CommandAction::Error && !errors.Usable()) {
      Win32MessageBoxes(nullptr).ShowMessage(Utf8ToText(line.error), MessageIcon::Exclamation);
      return kUsageError;
    }
    return RunAnswer(line, input, output, errors);
  }

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  Win32Runtime runtime;
  Win32Sockets sockets;
  WinHttpClientFactory clients;
  const EndpointSetting srv = ConfiguredEndpoint();
  if (srv.problem) {
    StandardSink(STD_ERROR_HANDLE).Write(*srv.problem + "\n");
  }
  AddressLookups sources(sockets, runtime, clients, srv.endpoint);
  Form1Window form(instance, runtime, sources);
  if (form.hwnd() == nullptr) {
    return 1;
  }
  form.Open(line.address);
  form.Show(showCommand);
  form.RunMessageLoop();
  return 0;
}
