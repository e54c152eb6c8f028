// SPDX-License-Identifier: MIT
#include "sources/endpoint.h"

#include <algorithm>

#include "core/text.h"
#include "core/utf8.h"

namespace maskora {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16ByteOrderMark = "\xFF\xFE";

bool SameKey(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

Text BuiltInEndpoint() {
  return Utf8ToText(MASKORA_SRV_ENDPOINT);
}

std::optional<Text> SettingValue(std::string_view fileText, std::string_view key) {
  if (fileText.starts_with(kUtf16ByteOrderMark)) {
    Text text;
    for (std::size_t i = kUtf16ByteOrderMark.size(); i + 1 < fileText.size(); i += 2) {
      text.push_back(static_cast<char16_t>(static_cast<unsigned char>(fileText[i]) |
                                           static_cast<unsigned char>(fileText[i + 1]) << 8));
    }
    return SettingValue(TextToUtf8(text), key);
  }
  if (fileText.starts_with(kByteOrderMark)) {
    fileText.remove_prefix(kByteOrderMark.size());
  }
  std::optional<Text> value;
  while (!fileText.empty()) {
    const auto end = fileText.find('\n');
    const std::string_view line = TrimBlanks(fileText.substr(0, end));
    fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
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

Text ChooseEndpoint(const std::optional<Text>& environment, const std::optional<Text>& file,
                    const Text& builtIn) {
  return Text(TrimBlanks(std::u16string_view(environment ? *environment : file ? *file : builtIn)));
}

}  // namespace maskora
