// SPDX-License-Identifier: MIT
// Maskora for Windows: reads the command line, then makes the window with its address sources.
// The window system's declarations come first; the common controls build on them.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include <string>
#include <string_view>
#include <vector>

#include "app/win32/console_output.h"
#include "cli/command_line.h"
#include "cli/printed_results.h"
#include "sources/address_lookups.h"
#include "sources/endpoint.h"
#include "sources/win32/system_library.h"
#include "sources/win32/win32_sockets.h"
#include "sources/win32/winhttp_client.h"
#include "window/win32/form1_window.h"
#include "window/win32/win32_runtime.h"

namespace {

// The arguments after the program's name, in UTF-8.
std::vector<std::string> Arguments() {
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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
  using namespace maskora;
  // Before anything loads a DLL: a planted one beside the program is never picked up.
  SearchDllsInSystemFolderOnly();
  const std::vector<std::string> arguments = Arguments();
  const std::vector<std::string_view> views(arguments.begin(), arguments.end());
  const CommandLine line = ReadCommandLine(views);
  switch (line.action) {
    case CommandAction::Help:
      WriteStandard(STD_OUTPUT_HANDLE, HelpText());
      return 0;
    case CommandAction::Version:
      WriteStandard(STD_OUTPUT_HANDLE, VersionText());
      return 0;
    case CommandAction::Print:
    case CommandAction::PrintJson:
      WriteStandard(STD_OUTPUT_HANDLE,
                    PrintedResults(*line.address, line.action == CommandAction::PrintJson));
      return 0;
    case CommandAction::Error:
      WriteStandard(STD_ERROR_HANDLE, line.error + "\n");
      return kUsageError;
    case CommandAction::OpenWindow:
      break;
  }

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  Win32Runtime runtime;
  Win32Sockets sockets;
  WinHttpClientFactory clients;
  const EndpointSetting srv = ConfiguredEndpoint();
  if (srv.problem) {
    WriteStandard(STD_ERROR_HANDLE, *srv.problem + "\n");
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
