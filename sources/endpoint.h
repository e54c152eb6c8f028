// SPDX-License-Identifier: MIT
// Where "&SRV" asks for the public address. The endpoint is read at start-up from the
// environment variable, else from the key in the settings file, else the build's default. It
// is a host (optionally "host:port"), whose address script is then asked, or a whole URL; an
// empty value switches the request off.
#pragma once

#include <optional>
#include <string_view>

#include "core/text.h"

namespace maskora {

inline constexpr char kEndpointVariable[] = "MASKORA_SRV_ENDPOINT";
inline constexpr char kEndpointKey[] = "srv_endpoint";

// The endpoint chosen when the build was configured.
Text BuiltInEndpoint();

// The value of key in a settings file's text, UTF-8 or UTF-16 with its byte order mark: a line
// "key = value" (the key in any letter case, blanks around key and value dropped). Empty lines,
// lines that start with "#" or ";", "[section]" lines and lines without "=" are skipped; of
// several lines for the key the last counts. Nothing when no line names the key.
std::optional<Text> SettingValue(std::string_view fileText, std::string_view key);

// The environment's value when the variable is set (even empty), else the file's when it has
// the key, else the built-in one; without blanks at either end.
Text ChooseEndpoint(const std::optional<Text>& environment, const std::optional<Text>& file,
                    const Text& builtIn);

// The endpoint as this system configures it: reads the variable and the settings file.
// Defined by each platform.
Text ConfiguredEndpoint();

}  // namespace maskora
