// SPDX-License-Identifier: MIT
// The endpoint as the program reads it at start-up: the variable, else the settings file in the
// platform's place, else the build's default. Runs on each platform against its real
// environment and file system.
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/text.h"
#include "sources/endpoint.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace maskora {
namespace {

#ifdef _WIN32
constexpr char kFolderVariable[] = "APPDATA";
constexpr char kSettingsFile[] = "Maskora/maskora.ini";

// The program reads the environment through the wide functions.
int ProcessId() {
  return static_cast<int>(GetCurrentProcessId());
}

void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  const std::wstring wide(name.begin(), name.end());
  const std::wstring text = value ? std::wstring(value->begin(), value->end()) : L"";
  SetEnvironmentVariableW(wide.c_str(), value ? text.c_str() : nullptr);
}
#else
constexpr char kFolderVariable[] = "XDG_CONFIG_HOME";
constexpr char kSettingsFile[] = "maskora/maskora.conf";

int ProcessId() {
  return static_cast<int>(getpid());
}

void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  if (value) {
    ::setenv(name.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name.c_str());
  }
}
#endif

// ASCII text as UTF-16 with its byte order mark, as Notepad may save it.
std::string Utf16(std::string_view ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

TEST(ConfiguredEndpoint, VariableThenSettingsFileThenBuild) {
  struct Case {
    std::optional<std::string> variable;
    std::optional<std::string> file;
    Text endpoint;
  };
  const Case cases[] = {
      {std::nullopt, "# Maskora\nsrv_endpoint = file.test:8443\n", u"file.test:8443"},
      {std::nullopt, "\xEF\xBB\xBF[Maskora]\r\nsrv_endpoint=https://file.test/ip\r\n",
       u"https://file.test/ip"},
      {std::nullopt, Utf16("srv_endpoint = utf16.test\r\n"), u"utf16.test"},
      {std::nullopt, "srv_endpoint =\n", u""},
      {"env.test", "srv_endpoint = file.test\n", u"env.test"},
      {"", "srv_endpoint = file.test\n", u""},
      {std::nullopt, "other = file.test\n", BuiltInEndpoint()},
      {std::nullopt, std::nullopt, BuiltInEndpoint()},
  };
  const auto folder = std::filesystem::temp_directory_path() /
                      ("maskora-endpoint-test-" + std::to_string(ProcessId()));
  const auto file = folder / kSettingsFile;
  std::filesystem::create_directories(file.parent_path());
  SetVariable(kFolderVariable, folder.string());
  for (const Case& c : cases) {
    std::filesystem::remove(file);
    if (c.file) {
      std::ofstream(file, std::ios::binary) << *c.file;
    }
    SetVariable(kEndpointVariable, c.variable);
    EXPECT_EQ(ConfiguredEndpoint(), c.endpoint)
        << c.variable.value_or("(unset)") << " / " << c.file.value_or("(no file)");
  }
  SetVariable(kEndpointVariable, std::nullopt);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace maskora
