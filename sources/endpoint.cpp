// SPDX-License-Identifier: MIT
#include "sources/endpoint.h"

#include <algorithm>

#include "window/utf8.h"

namespace maskora {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16ByteOrderMark = "\xFF\xFE";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

Text Trim(const Text& text) {
  const auto blank = [](char16_t c) { return c < 0x80 && kBlanks.find(char(c)) != kBlanks.npos; };
  const auto first = std::find_if_not(text.begin(), text.end(), blank);
  const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
  return first < last ? Text(first, last) : Text();
}

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
    const std::string_view line = Trim(fileText.substr(0, end));
    fileText.remove_prefix(end == std::string_view::npos ? fileText.size() : end + 1);
    const auto equals = line.find('=');
    if (line.starts_with('#') || line.starts_with(';') || line.starts_with('[') ||
        equals == std::string_view::npos) {
      continue;
    }
    if (SameKey(Trim(line.substr(0, equals)), key)) {
      value = Utf8ToText(Trim(line.substr(equals + 1)));
    }
  }
  return value;
}

Text ChooseEndpoint(const std::optional<Text>& environment, const std::optional<Text>& file,
                    const Text& builtIn) {
  return Trim(environment ? *environment : file ? *file : builtIn);
}

}  // namespace maskora
