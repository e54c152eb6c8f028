// SPDX-License-Identifier: MIT
#include "sources/endpoint.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/text.h"
#include "core/utf8.h"
#include "sources/posix_endpoint.h"
#include "sources/public_lookup.h"

namespace maskora {
namespace {

using namespace std::string_literals;

TEST(EndpointUrl, EachFormOfTheEndpoint) {
  struct Case {
    const char16_t* endpoint;
    const char16_t* url;
  };
  const Case cases[] = {
      {u"ip.test", u"https://ip.test/homepage/zurarudo/scriptremoteip.asp?Rnd=12346,5"},
      {u"127.0.0.1:8443",
       u"https://127.0.0.1:8443/homepage/zurarudo/scriptremoteip.asp?Rnd=12346,5"},
      {u"https://api.ipify.org/", u"https://api.ipify.org/?Rnd=12346,5"},
      {u"https://api.ipify.org", u"https://api.ipify.org/?Rnd=12346,5"},
      {u"https://ip.test:8443?x=1", u"https://ip.test:8443/?x=1&Rnd=12346,5"},
      {u"HTTPS://ip.test/ip?format=text", u"HTTPS://ip.test/ip?format=text&Rnd=12346,5"},
      {u"https://ip.test/ip?", u"https://ip.test/ip?Rnd=12346,5"},
      {u"https://ip.test/ip?a=1&", u"https://ip.test/ip?a=1&Rnd=12346,5"},
      {u"https://ip.test/ip#top", u"https://ip.test/ip?Rnd=12346,5"},
      {u"https://ip.test/ip?a=1#top", u"https://ip.test/ip?a=1&Rnd=12346,5"},
      // Kept as written: the client refuses it, and the local address is used.
      {u"http://ip.test/ip", u"http://ip.test/ip?Rnd=12346,5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EndpointUrl(c.endpoint, 12346.5, u','), c.url) << Narrow(c.endpoint);
  }
}

TEST(SettingValue, ReadsTheKeyFromTheFile) {
  struct Case {
    std::string text;
    std::optional<Text> value;
  };
  const Case cases[] = {
      {"srv_endpoint = https://ip.test/\n", u"https://ip.test/"},
      {"srv_endpoint=ip.test", u"ip.test"},
      {"\xEF\xBB\xBF[Maskora]\r\nSRV_Endpoint = ip.test:8443 \r\n", u"ip.test:8443"},
      {"srv_endpoint =\n", u""},
      {"srv_endpoint = a\nsrv_endpoint = b\n", u"b"},
      {"srv_endpoint = a=b\n", u"a=b"},
      {"  # srv_endpoint = a\n; srv_endpoint = b\n", std::nullopt},
      {"other = a\nsrv_endpoints = b\nsrv_endpoint\n", std::nullopt},
      {"", std::nullopt},
      {"srv_endpoint = https://ipè.test/", u"https://ip\u00E8.test/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SettingValue(c.text, kEndpointKey), c.value) << c.text;
  }
}

TEST(ChooseEndpoint, VariableThenFileThenBuild) {
  struct Case {
    std::optional<Text> environment;
    std::optional<Text> file;
    Text chosen;
  };
  const Case cases[] = {
      {u"env.test", u"file.test", u"env.test"},
      {u"", u"file.test", u""},
      {u" \tenv.test \n", std::nullopt, u"env.test"},
      {std::nullopt, u"file.test", u"file.test"},
      {std::nullopt, u"", u""},
      {std::nullopt, std::nullopt, u"https://built.in/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseEndpoint(c.environment, c.file, u"https://built.in/"), c.chosen);
  }
  EXPECT_FALSE(BuiltInEndpoint().empty());
}

TEST(SettingsFilePath, XdgConfigHomeThenHome) {
  EXPECT_EQ(SettingsFilePath("/x/cfg", "/home/u"), "/x/cfg/maskora/maskora.conf");
  EXPECT_EQ(SettingsFilePath("relative", "/home/u"), "/home/u/.config/maskora/maskora.conf");
  EXPECT_EQ(SettingsFilePath("", "/home/u"), "/home/u/.config/maskora/maskora.conf");
  EXPECT_EQ(SettingsFilePath(nullptr, "/home/u"), "/home/u/.config/maskora/maskora.conf");
  EXPECT_EQ(SettingsFilePath(nullptr, nullptr), "");
}

TEST(Utf8, BothWays) {
  const std::pair<std::string, Text> cases[] = {
      {"ip.test", u"ip.test"},
      {"\xC3\xA8", u"\u00E8"},
      {"\xE2\x82\xAC", u"\u20AC"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF",
       u"\u007F\u0080\u07FF\u0800\uFFFF\U0010FFFF"},
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(Utf8ToText(bytes), text) << bytes;
    EXPECT_EQ(TextToUtf8(text), bytes) << bytes;
  }
}

TEST(Utf8, MalformedBytesBecomeReplacements) {
  const std::pair<std::string, Text> cases[] = {
      {"a\x80z", u"a\uFFFDz"},                            // a lone continuation byte
      {"\xC3", u"\uFFFD"},                                // cut short at the end
      {"\xC3(", u"\uFFFD("},                              // cut short by another character
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(Utf8ToText(bytes), text);
  }
  EXPECT_EQ(TextToUtf8(u"a\xD800z"s), "a\xEF\xBF\xBDz");
}

}  // namespace
}  // namespace maskora
