// The public address: one HTTPS GET to the address script, waited for with a time limit while
// the window goes on processing its events.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "sources/http_client.h"
#include "window/contract.h"

namespace maskora {

inline constexpr double kFetchTimeLimitSeconds = 120;
inline constexpr std::u16string_view kScriptPath = u"/homepage/zurarudo/scriptremoteip.asp";

// The body of a GET of url as text, or the empty text when the request failed or had not
// completed more than two minutes after it started. Shows no message. Lets FormUnloaded from
// the event processing through, after ending the request.
Text FetchUrlText(HttpClient& client, const Text& url, Runtime& runtime);

// The script's URL on host (a name or address, optionally with ":port") with the
// cache-busting number after "?Rnd=".
Text ScriptUrl(std::u16string_view host, double number, char16_t decimalSeparator);

// The number as NumberText writes it, with the given decimal separator.
Text DoubleText(double value, char16_t decimalSeparator);

// Bytes read as Windows-1252 text, one character per byte. The five bytes that code page
// leaves undefined become the control characters of the same value.
Text Windows1252ToText(std::span<const std::uint8_t> bytes);

// To the nearest whole number, exact halves to the even one.
double RoundHalfEven(double value);

}  // namespace maskora
