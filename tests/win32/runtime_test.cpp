// SPDX-License-Identifier: MIT
// Runtime services on Win32: the event pass that a waiting handler polls, the clock and the
// random generator.
#include <chrono>

#include <gtest/gtest.h>
#include <windows.h>

#include "window/win32/win32_runtime.h"

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
    runtime.DoEvents();
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(300));
  EXPECT_LT(elapsed, std::chrono::seconds(5));
}

TEST(Win32Runtime, PassDeliversWhatIsPendingThroughTheNavigationFirst) {
  HWND window = CountingWindow();
  g_counted = 0;
  int translated = 0;
  Win32Runtime runtime([&translated](MSG& m) {
    // The navigation takes one of the three, as a dialog key would be taken.
    return m.message == kCounted && m.wParam == 2 && ++translated > 0;
  });
  for (WPARAM i = 1; i <= 3; ++i) {
    PostMessageW(window, kCounted, i, 0);
  }
  runtime.DoEvents();
  EXPECT_EQ(g_counted, 2);
  EXPECT_EQ(translated, 1);
  DestroyWindow(window);
}

TEST(Win32Runtime, QuitIsLeftForTheProgramsLoop) {
  Drain();
  Win32Runtime runtime;
  PostQuitMessage(3);
  runtime.DoEvents();
  MSG message;
  ASSERT_NE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE), FALSE);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 3u);
}

TEST(Win32Runtime, SeededSequenceRepeatsWithinTheUnitInterval) {
  Win32Runtime first;
  Win32Runtime second;
  first.Randomize(43210.5);
  second.Randomize(43210.5);
  for (int i = 0; i < 1000; ++i) {
    const double r = first.Rnd();
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, 1.0);
    EXPECT_EQ(r, second.Rnd());
  }
  second.Randomize(43210.25);
  EXPECT_NE(first.Rnd(), second.Rnd());
}

}  // namespace
}  // namespace maskora
