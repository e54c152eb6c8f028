// SPDX-License-Identifier: MIT
#include "window/win32/win32_wheel_hook.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "wheelhook/wheelhook.h"

namespace maskora {

namespace {

constexpr wchar_t kPrevWndProc[] = L"PrevWndProc";

struct LoadedForm {
  HWND window;
  MouseWheelCall mouseWheel;
};

// Everything runs on the window thread, so the list needs no lock.
std::vector<LoadedForm>& LoadedForms() {
  static std::vector<LoadedForm> forms;
  return forms;
}

// Window handles carry 32 significant bits also on 64-bit Windows.
WindowHandle HandleOf(HWND window) {
  return static_cast<WindowHandle>(reinterpret_cast<std::uintptr_t>(window));
}

std::optional<ScreenRect> RectOf(HWND window) {
  RECT r;
  if (window == nullptr || GetWindowRect(window, &r) == FALSE) {
    return std::nullopt;
  }
  return ScreenRect{r.left, r.top, r.right, r.bottom};
}

LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPrevWndProc));
  if (previous == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return CallWindowProcW(previous, window, message, wParam, lParam);
}

}  // namespace

void AddLoadedForm(HWND window, MouseWheelCall mouseWheel) {
  LoadedForms().push_back({window, std::move(mouseWheel)});
}

void RemoveLoadedForm(HWND window) {
  std::erase_if(LoadedForms(), [window](const LoadedForm& f) { return f.window == window; });
}

bool IsLoadedForm(HWND window) {
  return std::ranges::any_of(LoadedForms(),
                             [window](const LoadedForm& f) { return f.window == window; });
}

void HookWheel(HWND window) {
  const LONG_PTR previous =
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WheelWindowProc));
  SetPropW(window, kPrevWndProc, reinterpret_cast<HANDLE>(previous));
}

void UnhookWheel(HWND window) {
  const HANDLE previous = GetPropW(window, kPrevWndProc);
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  RemovePropW(window, kPrevWndProc);
}

LRESULT CALLBACK WheelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kWmMouseWheel) {
    return PassOn(window, message, wParam, lParam);
  }
  const WheelParams params =
      DecodeWheelParams(static_cast<std::uint32_t>(wParam), static_cast<std::uint32_t>(lParam));
  std::vector<WindowHandle> forms;
  for (const LoadedForm& form : LoadedForms()) {
    forms.push_back(HandleOf(form.window));
  }
  WindowFacts facts;
  facts.window = HandleOf(window);
  facts.windowRect = RectOf(window);
  // The parent and the list's state matter only for a child control, and the list is asked
  // only when the pointer is over the form but not over the control, as the decision reads it.
  if (!FormFromWindow(forms, facts.window)) {
    HWND parent = GetParent(window);
    facts.parent = HandleOf(parent);
    facts.parentRect = RectOf(parent);
    if (!IsPointOverWindow(facts.windowRect, params.x, params.y) &&
        IsPointOverWindow(facts.parentRect, params.x, params.y)) {
      facts.droppedState =
          static_cast<std::int32_t>(SendMessageW(window, kCbGetDroppedState, 0, 0));
    }
  }
  const WheelDecision decision = DecideWheel(message, params, facts, forms);
  if (decision.form && *decision.form < LoadedForms().size()) {
    // A copy: MouseWheel may load or unload forms while it runs.
    const MouseWheelCall call = LoadedForms()[*decision.form].mouseWheel;
    call(decision.params.rotation);
  }
  if (decision.outcome == WheelOutcome::Consume) {
    return kConsumedResult;
  }
  return PassOn(window, message, wParam, lParam);
}

}  // namespace maskora
