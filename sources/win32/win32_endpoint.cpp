// SPDX-License-Identifier: MIT
// The endpoint's variable and settings file on Windows: %APPDATA%\Maskora\maskora.ini.
#include <optional>
#include <string>

#include <windows.h>

#include "core/utf8.h"
#include "sources/endpoint.h"

namespace maskora {

namespace {

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

// The system's text for an error, without its closing full stop.
std::string SystemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length != 0 ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                           text.back() == L'.')) {
    text.pop_back();
  }
  return text.empty() ? "error " + std::to_string(error) : TextToUtf8(FromWide(text));
}

SettingsFile Unreadable(SettingsFile file, DWORD error) {
  file.state = SettingsFile::State::Unreadable;
  file.error = SystemMessage(error);
  return file;
}

// A regular file is read up to one byte past the bound; a directory, device or pipe is never
// read, so nothing at that place can hold the start-up.
SettingsFile ReadSettingsFile(const std::wstring& path) {
  SettingsFile file;
  file.path = TextToUtf8(FromWide(path));
  // A pipe may have no attributes to give; the type of the handle tells it then.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES &&
      (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND)) {
    return file;
  }
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    file.state = SettingsFile::State::NotRegular;
    return file;
  }
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return Unreadable(file, GetLastError());
  }
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    file.state = SettingsFile::State::NotRegular;
    return file;
  }
  file.bytes.resize(kLargestSettingsFile + 1);
  std::size_t size = 0;
  while (size < file.bytes.size()) {
    DWORD read = 0;
    if (ReadFile(handle, file.bytes.data() + size, static_cast<DWORD>(file.bytes.size() - size),
                 &read, nullptr) == FALSE) {
      const DWORD error = GetLastError();
      CloseHandle(handle);
      return Unreadable(file, error);
    }
    if (read == 0) {
      break;
    }
    size += read;
  }
  CloseHandle(handle);
  file.bytes.resize(size);
  file.state = SettingsFile::State::Read;
  return file;
}

}  // namespace

EndpointSetting ConfiguredEndpoint() {
  const std::string name = kEndpointVariable;
  if (const auto value = Variable(std::wstring(name.begin(), name.end()).c_str())) {
    return ChooseEndpoint(FromWide(*value), SettingsFile{}, BuiltInEndpoint());
  }
  const std::optional<std::wstring> appData = Variable(L"APPDATA");
  SettingsFile file;
  if (appData && !appData->empty()) {
    file = ReadSettingsFile(*appData + L"\\Maskora\\maskora.ini");
  }
  return ChooseEndpoint(std::nullopt, file, BuiltInEndpoint());
}

}  // namespace maskora
