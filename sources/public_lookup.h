// SPDX-License-Identifier: MIT
// The public address: one HTTPS GET to the address script, waited for with a time limit while
// the window goes on processing its events.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/runtime.h"
#include "core/text.h"
#include "sources/http_client.h"

namespace maskora {

inline constexpr double kFetchTimeLimitSeconds = 120;
inline constexpr std::u16string_view kScriptPath = u"/homepage/zurarudo/scriptremoteip.asp";

// The body of a GET of url as text, or the empty text when the request failed or had not
// completed more than two minutes after it started. Shows no message. Lets FormUnloaded from
// the event processing through, after ending the request.
Text FetchUrlText(HttpClient& client, const Text& url, Runtime& runtime);

// The URL that asks the endpoint (see sources/endpoint.h) for the address: a host's address
// script over https, or the endpoint's own URL, with the cache-busting number in the query's
// key "Rnd", after what query the URL already has. The fragment is dropped, since it is never
// sent, and a URL without a path gets "/".
Text EndpointUrl(std::u16string_view endpoint, double number, char16_t decimalSeparator);

// The number as NumberText writes it, with the given decimal separator.
Text DoubleText(double value, char16_t decimalSeparator);

// Bytes read as Windows-1252 text, one character per byte. The five bytes that code page
// leaves undefined become the control characters of the same value.
Text Windows1252ToText(std::span<const std::uint8_t> bytes);

// To the nearest whole number, exact halves to the even one.
double RoundHalfEven(double value);

}  // namespace maskora
