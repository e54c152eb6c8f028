// SPDX-License-Identifier: MIT
// maskora.com, the console program beside Maskora.exe: cmd and PowerShell prefer it when the user
// types "maskora", so an answer is written before the prompt returns and its exit status is
// seen. A window is left to Maskora.exe, started without waiting for it.
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "cli/command_line.h"
#include "cli/streams.h"
#include "cli/win32_io.h"

namespace {

// The command line after the program's name, as it was given.
std::wstring ArgumentsAsGiven() {
  const wchar_t* rest = GetCommandLineW();
  bool quoted = false;
  while (*rest != L'\0' && (quoted || (*rest != L' ' && *rest != L'\t'))) {
    quoted = *rest == L'"' ? !quoted : quoted;
    ++rest;
  }
  return rest;
}

int StartWindowProgram() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  path.erase(path.find_last_of(L"\\/") + 1);
  path += L"Maskora.exe";
  std::wstring command = L"\"" + path + L"\"" + ArgumentsAsGiven();
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process) == FALSE) {
    maskora::StandardSink(STD_ERROR_HANDLE).Write("maskora: Maskora.exe can't be started\n");
    return 1;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}

}  // namespace

int main() {
  using namespace maskora;
  const std::vector<std::string> arguments = CommandLineArguments();
  const std::vector<std::string_view> views(arguments.begin(), arguments.end());
  const CommandLine line = ReadCommandLine(views);
  if (line.action == CommandAction::OpenWindow) {
    return StartWindowProgram();
  }
  StandardSource input;
  StandardSink output(STD_OUTPUT_HANDLE);
  StandardSink errors(STD_ERROR_HANDLE);
  return RunAnswer(line, input, output, errors);
}
