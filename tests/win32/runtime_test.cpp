// SPDX-License-Identifier: MIT
// Runtime services on Win32: the event pass that a waiting handler polls, the clock and the
// random generator.
#include <chrono>

#include <gtest/gtest.h>
#include <windows.h>

#include "window/win32/win32_runtime.h"
#include "window/win32/win32_wheel_hook.h"

namespace maskora {
namespace {

constexpr UINT kCounted = WM_USER + 10;
int g_counted = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCounted) {
    ++g_counted;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CountingWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &CountingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"MaskoraRuntimeTest";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         wc.hInstance, nullptr);
}

void Drain() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
  }
}

TEST(Win32Runtime, IdlePassWaitsInsteadOfSpinning) {
  Drain();
  Win32Runtime runtime;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 10; ++i) {
    runtime.ProcessPendingEvents();
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(300));
  EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST(Win32Runtime, PassDeliversWhatIsPending) {
  HWND window = CountingWindow();
  g_counted = 0;
  for (WPARAM i = 1; i <= 3; ++i) {
    PostMessageW(window, kCounted, i, 0);
  }
  Win32Runtime runtime;
  runtime.ProcessPendingEvents();
  EXPECT_EQ(g_counted, 3);
  DestroyWindow(window);
}

// Tab moves the focus between a loaded form's controls, as the keyboard navigation does in
// every event pass; a window that is no loaded form gets its keys unchanged.
TEST(Win32Runtime, PassGivesALoadedFormsKeysToItsNavigation) {
  for (const bool loaded : {true, false}) {
    HWND form = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND first = CreateWindowExW(0, L"BUTTON", L"1", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 50,
                                 20, form, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND second = CreateWindowExW(0, L"BUTTON", L"2", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 60, 0, 50,
                                  20, form, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (loaded) {
      AddLoadedForm(form, [](std::int32_t) {});
    }
    SetForegroundWindow(form);
    SetFocus(first);
    PostMessageW(first, WM_KEYDOWN, VK_TAB, 0);
    Win32Runtime runtime;
    runtime.ProcessPendingEvents();
    EXPECT_EQ(GetFocus(), loaded ? second : first) << (loaded ? "loaded" : "not loaded");
    RemoveLoadedForm(form);
    DestroyWindow(form);
  }
}

TEST(Win32Runtime, QuitIsLeftForTheProgramsLoop) {
  Drain();
  Win32Runtime runtime;
  PostQuitMessage(3);
  runtime.ProcessPendingEvents();
  MSG message;
  ASSERT_NE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), FALSE);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
}

TEST(Win32Runtime, SeededSequenceRepeatsWithinTheUnitInterval) {
  Win32Runtime first;
  Win32Runtime second;
  first.SeedRandom(43210.5);
  second.SeedRandom(43210.5);
  for (int i = 0; i < 1000; ++i) {
    const double r = first.NextRandom();
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, 1.0);
    EXPECT_EQ(r, second.NextRandom());
  }
  second.SeedRandom(43210.25);
  EXPECT_NE(first.NextRandom(), second.NextRandom());
}

}  // namespace
}  // namespace maskora
