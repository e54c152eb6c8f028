// SPDX-License-Identifier: MIT
#include "wheelhook/wheelhook.h"

#include <algorithm>

namespace maskora {

namespace {

std::int32_t LowWordSigned(std::uint32_t value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFFu));
}

std::int32_t HighWordSigned(std::uint32_t value) {
  return LowWordSigned(value >> 16);
}

}  // namespace

WheelParams DecodeWheelParams(std::uint32_t wParam, std::uint32_t lParam) {
  return WheelParams{
      .keys = static_cast<std::int32_t>(wParam & 0xFFFFu),
      .rotation = HighWordSigned(wParam),
      .x = LowWordSigned(lParam),
      .y = HighWordSigned(lParam),
  };
}

bool IsPointOverWindow(const std::optional<ScreenRect>& rect, std::int32_t x, std::int32_t y) {
  const ScreenRect r = rect.value_or(ScreenRect{});
  return r.left <= x && r.top <= y && y <= r.bottom && x <= r.right;
}

std::optional<std::size_t> FormFromWindow(std::span<const WindowHandle> loadedForms,
                                          WindowHandle window) {
  const auto found = std::find(loadedForms.begin(), loadedForms.end(), window);
  if (found == loadedForms.end()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(found - loadedForms.begin());
}

WheelDecision DecideWheel(std::uint32_t message, const WheelParams& params,
                          const WindowFacts& facts, std::span<const WindowHandle> loadedForms) {
  WheelDecision decision{.form = std::nullopt, .params = params, .outcome = WheelOutcome::PassOn};
  if (message != kWmMouseWheel) {
    return decision;
  }

  if (const auto form = FormFromWindow(loadedForms, facts.window)) {
    // Forwarded, then passed on all the same: the form's own handling still sees it.
    if (IsPointOverWindow(facts.windowRect, params.x, params.y)) {
      decision.form = form;
    }
    return decision;
  }

  const bool overControl = IsPointOverWindow(facts.windowRect, params.x, params.y);
  const bool overParent = IsPointOverWindow(facts.parentRect, params.x, params.y);
  if (overControl || !overParent || facts.droppedState == 1) {
    return decision;  // the control's own business, or an open list that scrolls itself
  }
  const auto parentForm = FormFromWindow(loadedForms, facts.parent);
  if (!parentForm) {
    return decision;  // no form to hand it to
  }
  decision.form = parentForm;
  decision.outcome = WheelOutcome::Consume;
  return decision;
}

}  // namespace maskora
