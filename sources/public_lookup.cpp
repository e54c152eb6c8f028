// SPDX-License-Identifier: MIT
#include "sources/public_lookup.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "address/address.h"
#include "core/text.h"

namespace maskora {

namespace {

constexpr double kSecondsPerDay = 86400;
constexpr double kMidnightToleranceSeconds = 1;

// Windows-1252 from 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

// Ends the request however the fetch is left: by its result, a client error, or an exception
// from the event processing such as FormUnloaded.
class AbortOnExit {
 public:
  explicit AbortOnExit(HttpClient& client) : client_(client) {}
  AbortOnExit(const AbortOnExit&) = delete;
  AbortOnExit& operator=(const AbortOnExit&) = delete;
  ~AbortOnExit() { client_.Abort(); }

 private:
  HttpClient& client_;
};

}  // namespace

double RoundHalfEven(double value) {
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2) != 0)) {
    return below + 1;
  }
  return below;
}

Text FetchUrlText(HttpClient& client, const Text& url, Runtime& runtime) {
  const AbortOnExit abortOnExit(client);
  try {
    double start = RoundHalfEven(runtime.SecondsSinceMidnight());
    client.Open(url);
    client.Send();
    bool timedOut = false;
    // No sleep here: each event pass itself waits briefly when nothing is pending.
    while (client.ReadyState() != HttpClient::kComplete && !timedOut) {
      runtime.ProcessPendingEvents();
      if (runtime.SecondsSinceMidnight() < start - kMidnightToleranceSeconds) {
        start -= kSecondsPerDay;
      }
      if (runtime.SecondsSinceMidnight() - start > kFetchTimeLimitSeconds) {
        timedOut = true;
      }
    }
    if (timedOut) {
      return {};
    }
    return Windows1252ToText(client.ResponseBody());
  } catch (const HttpError&) {
    return {};
  }
}

Text DoubleText(double value, char16_t decimalSeparator) {
  Text text = Widen(NumberText(value));
  std::replace(text.begin(), text.end(), u'.', decimalSeparator);
  return text;
}

Text EndpointUrl(std::u16string_view endpoint, double number, char16_t decimalSeparator) {
  constexpr std::u16string_view kSchemeEnd = u"://";
  Text url;
  if (endpoint.find(kSchemeEnd) == std::u16string_view::npos) {
    url = u"https://";
    url += endpoint;
    url += kScriptPath;
  } else {
    url = endpoint.substr(0, endpoint.find(u'#'));
    const std::size_t authority = url.find(kSchemeEnd) + kSchemeEnd.size();
    const std::size_t pathStart = std::min(url.find_first_of(u"/?", authority), url.size());
    if (pathStart == url.size() || url[pathStart] != u'/') {
      url.insert(pathStart, u"/");
    }
  }
  const std::size_t query = url.find(u'?');
  if (query == Text::npos) {
    url += u'?';
  } else if (query + 1 < url.size() && url.back() != u'&') {
    url += u'&';
  }
  url += u"Rnd=";
  url += DoubleText(number, decimalSeparator);
  return url;
}

Text Windows1252ToText(std::span<const std::uint8_t> bytes) {
  Text text;
  text.reserve(bytes.size());
  for (const std::uint8_t byte : bytes) {
    text +=
        (byte >= 0x80 && byte <= 0x9F) ? kHighControls[byte - 0x80] : static_cast<char16_t>(byte);
  }
  return text;
}

}  // namespace maskora
