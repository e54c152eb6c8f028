// SPDX-License-Identifier: MIT
#include "sources/posix_endpoint.h"

#include <cstdlib>
#include <fstream>
#include <optional>

#include "core/utf8.h"
#include "sources/endpoint.h"

namespace maskora {

namespace {

// A settings file is a few lines; a larger one is read only this far.
constexpr std::streamsize kLargestSettingsFile = 64 * 1024;

std::optional<Text> FileSetting() {
  const std::string path = SettingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  std::ifstream file(path, std::ios::binary);
  if (path.empty() || !file) {
    return std::nullopt;
  }
  std::string text(kLargestSettingsFile, '\0');
  file.read(text.data(), kLargestSettingsFile);
  text.resize(static_cast<std::size_t>(file.gcount()));
  return SettingValue(text, kEndpointKey);
}

}  // namespace

std::string SettingsFilePath(const char* xdgConfigHome, const char* home) {
  constexpr char kFile[] = "/maskora/maskora.conf";
  // XDG base directories must be absolute paths; a relative value is ignored.
  if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
    return xdgConfigHome + std::string(kFile);
  }
  if (home != nullptr && home[0] != '\0') {
    return home + std::string("/.config") + kFile;
  }
  return {};
}

Text ConfiguredEndpoint() {
  const char* variable = std::getenv(kEndpointVariable);
  const std::optional<Text> environment =
      variable != nullptr ? std::optional<Text>(Utf8ToText(variable)) : std::nullopt;
  return ChooseEndpoint(environment, environment ? std::nullopt : FileSetting(), BuiltInEndpoint());
}

}  // namespace maskora
