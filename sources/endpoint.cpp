// SPDX-License-Identifier: MIT
#include "sources/endpoint.h"

#include <algorithm>
#include <string>

#include "core/text.h"
#include "core/utf8.h"

namespace maskora {

namespace {

using View = std::u16string_view;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
constexpr std::size_t kLongestLabel = 63;
constexpr std::size_t kLongestHostName = 253;
constexpr unsigned kLargestPort = 65535;
// A value in a message is cut after this many characters: the line stays readable.
constexpr std::size_t kLongestQuotedValue = 80;

bool SameKey(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

bool IsLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsHexDigit(char16_t c) {
  return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool AllOf(View text, bool (*test)(char16_t)) {
  return std::all_of(text.begin(), text.end(), test);
}

bool StartsWithoutCase(View text, View prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char16_t p, char16_t t) {
           return p == (t >= u'A' && t <= u'Z' ? char16_t(t - u'A' + u'a') : t);
         });
}

// Built by appending: GCC 12 sees a false overlap in "\"" + text at -O3.
std::string InQuotes(std::string_view text) {
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

// The character as a message names it.
std::string Named(char16_t c) {
  if (c == u' ' || c == u'\t') {
    return "a blank";
  }
  if (c < 0x20 || c == 0x7F) {
    return "a control character";
  }
  return InQuotes(TextToUtf8(View(&c, 1)));
}

// Four decimal numbers from 0 to 255 without leading zeros: no reader takes another meaning.
bool IsDottedQuad(View text) {
  const auto parts = SplitAtDots(text);
  return parts.size() == 4 && std::all_of(parts.begin(), parts.end(), [](View part) {
           return !part.empty() && part.size() <= 3 && AllOf(part, IsDigit) &&
                  (part.size() == 1 || part[0] != u'0') && std::stoi(TextToUtf8(part)) <= 255;
         });
}

bool IsIpv6Address(View text) {
  std::size_t groups = 0;
  bool compressed = text.starts_with(u"::");
  if (compressed) {
    text.remove_prefix(2);
  } else if (text.starts_with(u':')) {
    return false;
  }
  while (!text.empty()) {
    const std::size_t colon = text.find(u':');
    const View part = text.substr(0, colon);
    if (colon == View::npos && part.find(u'.') != View::npos) {
      if (!IsDottedQuad(part)) {
        return false;
      }
      groups += 2;
      break;
    }
    if (part.empty() || part.size() > 4 || !AllOf(part, IsHexDigit)) {
      return false;
    }
    ++groups;
    if (colon == View::npos) {
      break;
    }
    text.remove_prefix(colon + 1);
    if (text.starts_with(u':')) {
      if (compressed) {
        return false;
      }
      compressed = true;
      text.remove_prefix(1);
    } else if (text.empty()) {
      return false;
    }
  }
  return compressed ? groups < 8 : groups == 8;
}

std::optional<std::string> HostNameProblem(View host) {
  const auto bad = std::find_if(host.begin(), host.end(), [](char16_t c) {
    return !IsLetter(c) && !IsDigit(c) && c != u'-' && c != u'.';
  });
  if (bad != host.end()) {
    return Named(*bad) + " cannot stand in a host name";
  }
  const auto labels = SplitAtDots(host);
  const View last = labels.back();
  // A host that ends in a number is read as an IPv4 address, in more forms than one.
  if ((!last.empty() && AllOf(last, IsDigit)) || StartsWithoutCase(last, u"0x")) {
    if (!IsDottedQuad(host)) {
      return InQuotes(TextToUtf8(host)) + " is not an IPv4 address (four numbers 0 to 255)";
    }
    return std::nullopt;
  }
  const bool wellFormed =
      host.size() <= kLongestHostName && std::all_of(labels.begin(), labels.end(), [](View label) {
        return !label.empty() && label.size() <= kLongestLabel && label.front() != u'-' &&
               label.back() != u'-';
      });
  if (!wellFormed) {
    return InQuotes(TextToUtf8(host)) + " is not a host name";
  }
  return std::nullopt;
}

std::optional<std::string> HostAndPortProblem(View authority) {
  View host = authority;
  std::optional<View> port;
  if (authority.starts_with(u'[')) {
    const std::size_t close = authority.find(u']');
    if (close == View::npos || !IsIpv6Address(authority.substr(1, close - 1))) {
      const View address = close == View::npos ? authority : authority.substr(0, close + 1);
      return InQuotes(TextToUtf8(address)) + " is not an IPv6 address";
    }
    host = {};
    const View rest = authority.substr(close + 1);
    if (!rest.empty()) {
      if (rest[0] != u':') {
        return Named(rest[0]) + " cannot follow an IPv6 address";
      }
      port = rest.substr(1);
    }
  } else if (const std::size_t colon = authority.find(u':'); colon != View::npos) {
    if (authority.find(u':', colon + 1) != View::npos) {
      return "an IPv6 address stands in brackets, as in [::1]:8443";
    }
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
  }
  if (!authority.starts_with(u'[')) {
    if (host.empty()) {
      return "no host is named";
    }
    if (const auto problem = HostNameProblem(host)) {
      return problem;
    }
  }
  if (port &&
      (port->empty() || port->size() > 5 || !AllOf(*port, IsDigit) ||
       std::stoul(TextToUtf8(*port)) == 0 || std::stoul(TextToUtf8(*port)) > kLargestPort)) {
    return "the port must be a number from 1 to 65535";
  }
  return std::nullopt;
}

// Path, query and fragment: the characters a URL allows, and "%" only before two hex digits.
std::optional<std::string> UrlRestProblem(View rest) {
  constexpr View kAllowed = u"-._~:/?#@!$&'()*+,;=";
  for (std::size_t i = 0; i < rest.size(); ++i) {
    const char16_t c = rest[i];
    if (c == u'%') {
      if (i + 2 >= rest.size() || !IsHexDigit(rest[i + 1]) || !IsHexDigit(rest[i + 2])) {
        return "\"%\" must start an escape such as %20";
      }
    } else if (!IsLetter(c) && !IsDigit(c) && kAllowed.find(c) == View::npos) {
      return Named(c) + " must be written as an escape such as %20 in a URL";
    }
  }
  return std::nullopt;
}

// The scheme of a URL, or nothing when the value names none.
std::optional<View> Scheme(View value) {
  const std::size_t end = value.find(u"://");
  if (end == View::npos || end == 0 || !IsLetter(value[0]) ||
      !std::all_of(value.begin(), value.begin() + static_cast<std::ptrdiff_t>(end), [](char16_t c) {
        return IsLetter(c) || IsDigit(c) || c == u'+' || c == u'-' || c == u'.';
      })) {
    return std::nullopt;
  }
  return value.substr(0, end);
}

std::string Quoted(View value) {
  Text text(value.substr(0, kLongestQuotedValue));
  // Control characters would reach the terminal as they are.
  std::replace_if(
      text.begin(), text.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; }, u'?');
  return InQuotes(TextToUtf8(text) + (value.size() > kLongestQuotedValue ? "..." : ""));
}

std::optional<std::string> Refusal(std::string_view where, std::string_view reason) {
  return "maskora: " + std::string(where) + ": " + std::string(reason) +
         "; \"&SRV\" is switched off and gives the local address";
}

EndpointSetting Checked(const Text& value, const std::string& where) {
  const Text endpoint(TrimBlanks(View(value)));
  if (const auto problem = EndpointProblem(endpoint)) {
    return {Text(), Refusal(where + " " + Quoted(endpoint), *problem)};
  }
  return {endpoint, std::nullopt};
}

}  // namespace

Text BuiltInEndpoint() {
  return Utf8ToText(MASKORA_SRV_ENDPOINT);
}

std::optional<std::string> SettingsText(std::string_view bytes) {
  std::string text;
  const bool littleEndian = bytes.starts_with(kUtf16LittleEndianMark);
  if (littleEndian || bytes.starts_with(kUtf16BigEndianMark)) {
    bytes.remove_prefix(kUtf16LittleEndianMark.size());
    if (bytes.size() % 2 != 0) {
      return std::nullopt;
    }
    Text units;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
      const auto first = static_cast<unsigned char>(bytes[i]);
      const auto second = static_cast<unsigned char>(bytes[i + 1]);
      units.push_back(
          static_cast<char16_t>(littleEndian ? first | second << 8 : first << 8 | second));
    }
    text = TextToUtf8(units);
    if (Utf8ToText(text) != units) {  // a lone surrogate
      return std::nullopt;
    }
  } else {
    if (bytes.starts_with(kByteOrderMark)) {
      bytes.remove_prefix(kByteOrderMark.size());
    }
    text = bytes;
    if (TextToUtf8(Utf8ToText(text)) != text) {
      return std::nullopt;
    }
  }
  if (text.find('\0') != std::string::npos) {
    return std::nullopt;
  }
  return text;
}

std::optional<Text> SettingValue(std::string_view text, std::string_view key) {
  std::optional<Text> value;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = TrimBlanks(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const auto equals = line.find('=');
    if (line.starts_with('#') || line.starts_with(';') || line.starts_with('[') ||
        equals == std::string_view::npos) {
      continue;
    }
    if (SameKey(TrimBlanks(line.substr(0, equals)), key)) {
      value = Utf8ToText(TrimBlanks(line.substr(equals + 1)));
    }
  }
  return value;
}

std::optional<std::string> EndpointProblem(View endpoint) {
  if (endpoint.empty()) {
    return std::nullopt;
  }
  const std::optional<View> scheme = Scheme(endpoint);
  if (!scheme) {
    return HostAndPortProblem(endpoint);
  }
  if (!StartsWithoutCase(*scheme, u"https") || scheme->size() != 5) {
    return "only https:// URLs are asked";
  }
  const View rest = endpoint.substr(scheme->size() + 3);
  const std::size_t authorityEnd = std::min(rest.find_first_of(u"/?#"), rest.size());
  if (const auto problem = HostAndPortProblem(rest.substr(0, authorityEnd))) {
    return problem;
  }
  return UrlRestProblem(rest.substr(authorityEnd));
}

EndpointSetting ChooseEndpoint(const std::optional<Text>& environment, const SettingsFile& file,
                               const Text& builtIn) {
  if (environment) {
    return Checked(*environment, kEndpointVariable);
  }
  const std::string where = "settings file " + file.path;
  switch (file.state) {
    case SettingsFile::State::Absent:
      return Checked(builtIn, "built-in endpoint");
    case SettingsFile::State::NotRegular:
      return {Text(), Refusal(where, "not a regular file")};
    case SettingsFile::State::BrokenLink:
      return {Text(), Refusal(where, "a link to a file that does not exist")};
    case SettingsFile::State::Unreadable:
      return {Text(), Refusal(where, "cannot be read (" + file.error + ")")};
    case SettingsFile::State::Read:
      break;
  }
  if (file.bytes.size() > kLargestSettingsFile) {
    return {Text(),
            Refusal(where, "larger than " + std::to_string(kLargestSettingsFile / 1024) + " KiB")};
  }
  const std::optional<std::string> text = SettingsText(file.bytes);
  if (!text) {
    return {Text(), Refusal(where, "neither UTF-8 nor UTF-16 with a byte order mark")};
  }
  if (const std::optional<Text> value = SettingValue(*text, kEndpointKey)) {
    return Checked(*value, where + ": " + kEndpointKey);
  }
  return Checked(builtIn, "built-in endpoint");
}

}  // namespace maskora
