// SPDX-License-Identifier: MIT
// Where "&SRV" asks for the public address. The endpoint is read at start-up from the
// environment variable, else from the key in the settings file, else the build's default. It
// is a host (optionally "host:port"), whose address script is then asked, or a whole https URL;
// an empty value switches the request off. A setting that cannot be used switches it off too,
// with a line that says why: the request never goes where the user did not choose.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/text.h"

namespace maskora {

inline constexpr char kEndpointVariable[] = "MASKORA_SRV_ENDPOINT";
inline constexpr char kEndpointKey[] = "srv_endpoint";

// A settings file is a few lines. A larger one is refused whole, so no value is ever cut.
inline constexpr std::size_t kLargestSettingsFile = 64 * 1024;

// What the platform found at the settings file's place. It never opens anything but a regular
// file and never waits on what it opens.
struct SettingsFile {
  enum class State {
    Absent,      // nothing there, or no place to look
    Read,        // bytes holds the file, kLargestSettingsFile + 1 bytes at most
    NotRegular,  // a directory, FIFO, socket, device or pipe, or a link to one
    BrokenLink,  // a link to nothing
    Unreadable,  // error holds the system's reason
  };
  std::string path;  // UTF-8, for the message
  State state = State::Absent;
  std::string bytes;
  std::string error;
};

// The endpoint that "&SRV" asks, empty when it asks none, and the one line (UTF-8, without its
// line break) that tells why a setting was refused.
struct EndpointSetting {
  Text endpoint;
  std::optional<std::string> problem;
};

// The endpoint chosen when the build was configured.
Text BuiltInEndpoint();

// A settings file's bytes as UTF-8 text: UTF-8 with or without its byte order mark, or UTF-16
// with either byte order mark. Nothing for malformed text or NUL characters, as UTF-32 and
// UTF-16 without its mark give.
std::optional<std::string> SettingsText(std::string_view bytes);

// The value of key in a settings file's UTF-8 text: a line "key = value" (the key in any letter
// case, blanks around key and value dropped). Empty lines, lines that start with "#" or ";",
// "[section]" lines and lines without "=" are skipped; of several lines for the key the last
// counts. Nothing when no line names the key.
std::optional<Text> SettingValue(std::string_view text, std::string_view key);

// Why an endpoint without blanks at its ends cannot be asked, or nothing when it can: it must
// be empty, "host" or "host:port" (a host name, a dotted IPv4 address or a bracketed IPv6
// address; a port from 1 to 65535), or an https URL with such a host and a path and query
// in URL characters.
std::optional<std::string> EndpointProblem(std::u16string_view endpoint);

// The variable's value when it is set (even empty), else the file's when it has the key, else
// the built-in one; without blanks at either end. An unusable file or value gives the empty
// endpoint and the problem.
EndpointSetting ChooseEndpoint(const std::optional<Text>& environment, const SettingsFile& file,
                               const Text& builtIn);

// The endpoint as this system configures it: reads the variable and, without it, the settings
// file. Defined by each platform.
EndpointSetting ConfiguredEndpoint();

}  // namespace maskora
