// SPDX-License-Identifier: MIT
// The endpoint's variable and settings file on Windows: %APPDATA%\Maskora\maskora.ini.
#include <optional>
#include <string>

#include <windows.h>

#include "sources/endpoint.h"

namespace maskora {

namespace {

// A settings file is a few lines; a larger one is read only this far.
constexpr DWORD kLargestSettingsFile = 64 * 1024;

std::optional<std::wstring> Variable(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) {
    return std::nullopt;
  }
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

Text FromWide(const std::wstring& text) {
  return Text(text.begin(), text.end());
}

std::optional<Text> FileSetting() {
  const std::optional<std::wstring> appData = Variable(L"APPDATA");
  if (!appData || appData->empty()) {
    return std::nullopt;
  }
  const std::wstring path = *appData + L"\\Maskora\\maskora.ini";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  std::string bytes(kLargestSettingsFile, '\0');
  DWORD read = 0;
  const BOOL ok = ReadFile(file, bytes.data(), kLargestSettingsFile, &read, nullptr);
  CloseHandle(file);
  if (ok == FALSE) {
    return std::nullopt;
  }
  bytes.resize(read);
  return SettingValue(bytes, kEndpointKey);
}

}  // namespace

Text ConfiguredEndpoint() {
  const std::string name = kEndpointVariable;
  std::optional<Text> environment;
  if (const auto value = Variable(std::wstring(name.begin(), name.end()).c_str())) {
    environment = FromWide(*value);
  }
  return ChooseEndpoint(environment, environment ? std::nullopt : FileSetting(), BuiltInEndpoint());
}

}  // namespace maskora
