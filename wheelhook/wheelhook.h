// SPDX-License-Identifier: MIT
// The wheel decisions of the window hook, free of any platform: a toolkit feeds in the message,
// the answers to a few window queries and the loaded forms, and carries out the outcome.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace maskora {

using WindowHandle = std::uint32_t;

inline constexpr std::uint32_t kWmMouseWheel = 0x020A;
// Answer 1 to this combo-box query means its list is open.
inline constexpr std::uint32_t kCbGetDroppedState = 0x0157;

// What MouseWheel receives, in its order.
struct WheelParams {
  std::int32_t keys = 0;
  std::int32_t rotation = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const WheelParams&, const WheelParams&) = default;
};

// keys: low word of wParam, unsigned; rotation: high word of wParam, signed; x and y: low and
// high word of lParam, signed (a monitor left of or above the main one has negative ones).
WheelParams DecodeWheelParams(std::uint32_t wParam, std::uint32_t lParam);

// Screen rectangle of a window's outer frame. Right and bottom belong to the window.
struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// rect is empty when the query failed; the window then counts as the rectangle 0,0,0,0.
bool IsPointOverWindow(const std::optional<ScreenRect>& rect, std::int32_t x, std::int32_t y);

// Index of the first loaded form, in collection order, whose handle is window.
std::optional<std::size_t> FormFromWindow(std::span<const WindowHandle> loadedForms,
                                          WindowHandle window);

// The answers of the window queries for the hooked window, taken when a message arrives.
struct WindowFacts {
  WindowHandle window = 0;
  WindowHandle parent = 0;               // 0 when it has none
  std::optional<ScreenRect> windowRect;  // empty when the query failed
  std::optional<ScreenRect> parentRect;  // likewise
  std::int32_t droppedState = 0;         // the window's answer to kCbGetDroppedState
};

enum class WheelOutcome {
  PassOn,   // hand the message unchanged to the previous procedure, return its result
  Consume,  // return kConsumedResult; the previous procedure never sees the message
};

inline constexpr std::int32_t kConsumedResult = 0;

struct WheelDecision {
  // The loaded form (index into loadedForms) whose MouseWheel is called with params.
  std::optional<std::size_t> form;
  WheelParams params;
  WheelOutcome outcome = WheelOutcome::PassOn;
};

// The hooked window's procedure, minus the platform. A wheel message on a form calls its
// MouseWheel when the pointer is over it and is passed on; a wheel message on a child control,
// with the pointer over its form but not over the control, goes to the form's MouseWheel and
// is consumed, unless the control's list is open. A child whose parent is not a loaded form
// has no MouseWheel to call: its message is passed on.
WheelDecision DecideWheel(std::uint32_t message, const WheelParams& params,
                          const WindowFacts& facts, std::span<const WindowHandle> loadedForms);

}  // namespace maskora
