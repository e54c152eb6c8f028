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
      // Refused when the program starts; were it not, the client would refuse it.
      {u"http://ip.test/ip", u"http://ip.test/ip?Rnd=12346,5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EndpointUrl(c.endpoint, 12346.5, u','), c.url) << Narrow(c.endpoint);
  }
}

// The encodings themselves are read from real files in configured_endpoint_test.cpp.
TEST(SettingsText, MalformedTextIsRefused) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"", ""},
      {"\xFF\xFE\xE8\x00\x3D\xD8\x00\xDE"s, "\xC3\xA8\xF0\x9F\x98\x80"},  // è, a surrogate pair
      {"\xFE\xFF\x00\xE8"s, "\xC3\xA8"},
      {"\xFF\xFE\x61\x00\x3D"s, std::nullopt},      // an odd number of bytes
      {"\xFF\xFE\x00\xD8\x61\x00"s, std::nullopt},  // a lone surrogate
      {"a = caf\xE9\n", std::nullopt},              // Latin-1
      {"a = b\xC3", std::nullopt},                  // cut inside a character
  };
  for (const auto& [bytes, text] : cases) {
    EXPECT_EQ(SettingsText(bytes), text) << testing::PrintToString(bytes);
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
      {"[Maskora]\r\nSRV_Endpoint = ip.test:8443 \r\n", u"ip.test:8443"},
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

TEST(EndpointProblem, HostPortOrHttpsUrl) {
  const char16_t* const usable[] = {u"",
                                    u"ip.test",
                                    u"IP-1.Example.org:8443",
                                    u"127.0.0.1:65535",
                                    u"[::1]:8443",
                                    u"[2001:db8::ffff:192.0.2.1]",
                                    u"[1:2:3:4:5:6:7:8]",
                                    u"HTTPS://ip.test:8443?format=text",
                                    u"https://[fe80::1]/ip?a=%20b&c=d#top",
                                    u"https://ip.test/~me/ip.asp;x=1,2+(3)*!$'@:"};
  for (const char16_t* value : usable) {
    EXPECT_EQ(EndpointProblem(value), std::nullopt) << Narrow(value);
  }
  const std::pair<const char16_t*, const char*> refused[] = {
      {u"host#x", "\"#\" cannot stand in a host name"},
      {u"host?x=1", "\"?\" cannot stand in a host name"},
      {u"host/ip", "\"/\" cannot stand in a host name"},
      {u"user@host", "\"@\" cannot stand in a host name"},
      {u"ip test", "a blank cannot stand in a host name"},
      {u"ip\u00E8.test", "\"\xC3\xA8\" cannot stand in a host name"},
      {u"ip..test", "\"ip..test\" is not a host name"},
      {u"-ip.test", "\"-ip.test\" is not a host name"},
      {u"ip-.test", "\"ip-.test\" is not a host name"},
      {u"a234567890123456789012345678901234567890123456789012345678901234.test",
       "\"a234567890123456789012345678901234567890123456789012345678901234.test\" is not a host "
       "name"},
      // Each of these is read as another IPv4 address by some resolver.
      {u"1.2.3", "\"1.2.3\" is not an IPv4 address (four numbers 0 to 255)"},
      {u"010.0.0.1", "\"010.0.0.1\" is not an IPv4 address (four numbers 0 to 255)"},
      {u"1.2.3.256", "\"1.2.3.256\" is not an IPv4 address (four numbers 0 to 255)"},
      {u"ip.test.0x7f", "\"ip.test.0x7f\" is not an IPv4 address (four numbers 0 to 255)"},
      {u"ip.test:415339", "the port must be a number from 1 to 65535"},
      {u"ip.test:65536", "the port must be a number from 1 to 65535"},
      {u"ip.test:0", "the port must be a number from 1 to 65535"},
      {u"ip.test:", "the port must be a number from 1 to 65535"},
      {u":8443", "no host is named"},
      {u"::1", "an IPv6 address stands in brackets, as in [::1]:8443"},
      {u"[::1", "\"[::1\" is not an IPv6 address"},
      {u"[1::2::3]", "\"[1::2::3]\" is not an IPv6 address"},
      {u"[1:2:3:4:5:6:7]", "\"[1:2:3:4:5:6:7]\" is not an IPv6 address"},
      {u"[1:2:3:4::5:6:7:8]", "\"[1:2:3:4::5:6:7:8]\" is not an IPv6 address"},
      {u"[::1]8443", "\"8\" cannot follow an IPv6 address"},
      {u"http://ip.test/ip", "only https:// URLs are asked"},
      {u"https:///ip", "no host is named"},
      {u"https://ip.test\\evil.test/", "\"\\\" cannot stand in a host name"},
      {u"https://ip.test/a b", "a blank must be written as an escape such as %20 in a URL"},
      {u"https://ip.test/\u00E8", "\"\xC3\xA8\" must be written as an escape such as %20 in a URL"},
      {u"https://ip.test/a%2", "\"%\" must start an escape such as %20"},
  };
  for (const auto& [value, problem] : refused) {
    EXPECT_EQ(EndpointProblem(value), problem) << Narrow(value);
  }
  EXPECT_EQ(EndpointProblem(BuiltInEndpoint()), std::nullopt);
}

TEST(ChooseEndpoint, VariableThenFileThenBuildAndNothingUnusable) {
  using State = SettingsFile::State;
  const auto file = [](State state, std::string bytes = "", std::string error = "") {
    return SettingsFile{"/c/maskora.conf", state, std::move(bytes), std::move(error)};
  };
  const std::string key = "srv_endpoint = file.test\n";
  const std::string largest = key + std::string(kLargestSettingsFile - key.size(), '#');
  struct Case {
    std::optional<Text> environment;
    SettingsFile file;
    Text chosen;
  };
  const Case usable[] = {
      {u"env.test", file(State::Read, key), u"env.test"},
      {u"", file(State::Unreadable), u""},
      {u" \tenv.test \n", file(State::Absent), u"env.test"},
      {std::nullopt, file(State::Read, key), u"file.test"},
      {std::nullopt, file(State::Read, largest), u"file.test"},
      {std::nullopt, file(State::Read, "srv_endpoint ="), u""},
      {std::nullopt, file(State::Read, "other = x"), u"https://built.in/"},
      {std::nullopt, file(State::Absent), u"https://built.in/"},
  };
  for (const Case& c : usable) {
    const EndpointSetting setting = ChooseEndpoint(c.environment, c.file, u"https://built.in/");
    EXPECT_EQ(setting.endpoint, c.chosen) << Narrow(c.chosen);
    EXPECT_EQ(setting.problem, std::nullopt) << *setting.problem;
  }
  const std::string kFile = "maskora: settings file /c/maskora.conf: ";
  const std::pair<SettingsFile, std::string> refused[] = {
      {file(State::Read, largest + "#"), kFile + "larger than 64 KiB"},
      {file(State::Read, "srv_endpoint = caf\xE9"),
       kFile + "neither UTF-8 nor UTF-16 with a byte order mark"},
      {file(State::NotRegular), kFile + "not a regular file"},
      {file(State::BrokenLink), kFile + "a link to a file that does not exist"},
      {file(State::Unreadable, "", "Permission denied"),
       kFile + "cannot be read (Permission denied)"},
      {file(State::Read, "srv_endpoint = 127.0.0.1:415339"),
       kFile + "srv_endpoint \"127.0.0.1:415339\": the port must be a number from 1 to 65535"},
      // Neither control characters nor a whole line reach the terminal.
      {file(State::Read, "srv_endpoint = x\x01y"),
       kFile + "srv_endpoint \"x?y\": a control character cannot stand in a host name"},
      {file(State::Read, "srv_endpoint = " + std::string(100, 'a') + "#"),
       kFile + "srv_endpoint \"" + std::string(80, 'a') +
           "...\": \"#\" cannot stand in a host name"},
  };
  for (const auto& [settings, problem] : refused) {
    const EndpointSetting setting = ChooseEndpoint(std::nullopt, settings, u"https://built.in/");
    EXPECT_EQ(setting.endpoint, u"");
    EXPECT_EQ(setting.problem, problem + "; \"&SRV\" is switched off and gives the local address");
  }
  EXPECT_EQ(ChooseEndpoint(u"env#x", file(State::Absent), u"ip.test").problem,
            "maskora: MASKORA_SRV_ENDPOINT \"env#x\": \"#\" cannot stand in a host name; "
            "\"&SRV\" is switched off and gives the local address");
  EXPECT_EQ(ChooseEndpoint(std::nullopt, file(State::Absent), u"ip.test/x").problem,
            "maskora: built-in endpoint \"ip.test/x\": \"/\" cannot stand in a host name; "
            "\"&SRV\" is switched off and gives the local address");
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
