// SPDX-License-Identifier: MIT
// The wheel hook on Win32: a window procedure put in front of the window's own, which feeds
// the wheel decisions and calls MouseWheel of the form concerned.
#pragma once

#include <cstdint>
#include <functional>

#include <windows.h>

#include "window/ports.h"

namespace maskora {

// The form's MouseWheel, with the rotation.
using MouseWheelCall = std::function<void(std::int32_t rotation)>;

// The loaded forms, in the order they were loaded; the hook finds its form among them.
void AddLoadedForm(HWND window, MouseWheelCall mouseWheel);
void RemoveLoadedForm(HWND window);
bool IsLoadedForm(HWND window);

// Installs WheelWindowProc as the window's procedure and keeps the previous one in the
// window property "PrevWndProc". Errors are ignored.
void HookWheel(HWND window);
// Puts the kept procedure back and removes the property. Errors are ignored.
void UnhookWheel(HWND window);

LRESULT CALLBACK WheelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class Win32WheelHook : public WheelHook {
 public:
  explicit Win32WheelHook(HWND window) : window_(window) {}
  void HookWheel() override { maskora::HookWheel(window_); }
  void UnhookWheel() override { maskora::UnhookWheel(window_); }

 private:
  HWND window_;
};

}  // namespace maskora
