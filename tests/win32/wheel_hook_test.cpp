// SPDX-License-Identifier: MIT
// The Win32 wheel hook: the window procedure put in front of a window's own, fed with real
// wheel messages, on a plain window, on a child control and on the main window.
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/win32/window_fixture.h"
#include "wheelhook/wheelhook.h"

namespace maskora::testing {
namespace {

constexpr UINT kProbe = WM_USER + 1;
constexpr LRESULT kProbeResult = 42;

struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

std::vector<Seen> g_seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbe || message == WM_MOUSEWHEEL) {
    g_seen.push_back({message, wParam, lParam});
    return message == kProbe ? kProbeResult : 7;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window at a given screen place, with a child control, both recording.
class HookedWindow {
 public:
  HookedWindow(int left, int top) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MaskoraWheelTest";
    RegisterClassW(&wc);
    form = CreateWindowExW(0, wc.lpszClassName, L"wheel", WS_POPUP | WS_VISIBLE, left, top, 200,
                           100, nullptr, nullptr, wc.hInstance, nullptr);
    child = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, form,
                            nullptr, wc.hInstance, nullptr);
    AddLoadedForm(form, [this](std::int32_t rotation) { calls.push_back(rotation); });
    g_seen.clear();
  }
  ~HookedWindow() {
    RemoveLoadedForm(form);
    DestroyWindow(form);
  }

  HWND form;
  HWND child;
  std::vector<std::int32_t> calls;  // the rotation of each MouseWheel call
};

WPARAM WheelWParam(int keys, int rotation) {
  return MAKEWPARAM(keys, static_cast<WORD>(static_cast<std::int16_t>(rotation)));
}

LPARAM WheelLParam(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<std::int16_t>(x)),
                    static_cast<WORD>(static_cast<std::int16_t>(y)));
}

TEST(Win32WheelHook, InstallsAndRemovesItself) {
  HookedWindow w(100, 100);
  const LONG_PTR own = GetWindowLongPtrW(w.form, GWLP_WNDPROC);
  HookWheel(w.form);
  EXPECT_EQ(GetWindowLongPtrW(w.form, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&WheelWindowProc));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropW(w.form, L"PrevWndProc")), own);
  UnhookWheel(w.form);
  EXPECT_EQ(GetWindowLongPtrW(w.form, GWLP_WNDPROC), own);
  EXPECT_EQ(GetPropW(w.form, L"PrevWndProc"), nullptr);
}

TEST(Win32WheelHook, OtherMessagesPassUnchanged) {
  HookedWindow w(100, 100);
  HookWheel(w.form);
  EXPECT_EQ(SendMessageW(w.form, kProbe, 0x1234, -5), kProbeResult);
  ASSERT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(g_seen[0].wParam, 0x1234u);
  EXPECT_EQ(g_seen[0].lParam, -5);
  EXPECT_TRUE(w.calls.empty());
  UnhookWheel(w.form);
}

struct FormWheelCase {
  const char* name;
  int left, top;  // of the window, 200 x 100
  int keys, rotation, x, y;
  bool called;
};

void PrintTo(const FormWheelCase& c, std::ostream* out) {
  *out << c.name;
}

class FormWheelTest : public ::testing::TestWithParam<FormWheelCase> {};

TEST_P(FormWheelTest, CallsMouseWheelWhenOverTheFormAndPassesOn) {
  const FormWheelCase& c = GetParam();
  HookedWindow w(c.left, c.top);
  RECT r;
  GetWindowRect(w.form, &r);
  ASSERT_EQ(r.left, c.left);  // the window system kept the place, off-screen ones included
  HookWheel(w.form);
  EXPECT_EQ(
      SendMessageW(w.form, WM_MOUSEWHEEL, WheelWParam(c.keys, c.rotation), WheelLParam(c.x, c.y)),
      7);
  EXPECT_EQ(g_seen.size(), 1u);  // never consumed on a form
  if (c.called) {
    ASSERT_EQ(w.calls.size(), 1u);
    EXPECT_EQ(w.calls[0], c.rotation);
  } else {
    EXPECT_TRUE(w.calls.empty());
  }
  UnhookWheel(w.form);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, FormWheelTest,
    ::testing::Values(
        FormWheelCase{"AwayFromTheUser", 100, 100, 0, 120, 150, 150, true},
        FormWheelCase{"TowardsTheUserWithShift", 100, 100, MK_SHIFT, -120, 150, 150, true},
        FormWheelCase{"RightBottomEdgeIsInside", 100, 100, 0, 120, 300, 200, true},
        FormWheelCase{"JustOutside", 100, 100, 0, 120, 301, 150, false},
        FormWheelCase{"MonitorLeftAndAbove", -400, -300, MK_LBUTTON, 240, -350, -250, true}),
    [](const ::testing::TestParamInfo<FormWheelCase>& info) {
      return std::string(info.param.name);
    });

TEST(Win32WheelHook, ChildHandsWheelOverItsFormToTheForm) {
  HookedWindow w(100, 100);
  HookWheel(w.child);
  // Over the form but not over the child: MouseWheel of the form, consumed.
  EXPECT_EQ(SendMessageW(w.child, WM_MOUSEWHEEL, WheelWParam(0, 120), WheelLParam(250, 150)), 0);
  EXPECT_EQ(w.calls.size(), 1u);
  EXPECT_TRUE(g_seen.empty());
  // Over the child itself: its own business.
  EXPECT_EQ(SendMessageW(w.child, WM_MOUSEWHEEL, WheelWParam(0, 120), WheelLParam(115, 115)), 7);
  EXPECT_EQ(w.calls.size(), 1u);
  EXPECT_EQ(g_seen.size(), 1u);
  UnhookWheel(w.child);
}

TEST(Win32WheelHook, OpenListScrollsItself) {
  HookedWindow w(100, 100);
  HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10,
                               40, 80, 120, w.form, nullptr, nullptr, nullptr);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"uno"));
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), 1);
  HookWheel(combo);
  SendMessageW(combo, WM_MOUSEWHEEL, WheelWParam(0, 120), WheelLParam(250, 150));
  EXPECT_TRUE(w.calls.empty());
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  SendMessageW(combo, WM_MOUSEWHEEL, WheelWParam(0, 120), WheelLParam(250, 150));
  EXPECT_EQ(w.calls.size(), 1u);
  UnhookWheel(combo);
}

// The main window hooked at load: a wheel turn over it steps the focused octet field, also
// when the message reaches the field first and the window system hands it to the form.
TEST_F(WindowTest, WheelStepsTheFocusedOctetField) {
  SetOctets({u"1", u"2", u"10", u"4"});
  SetFocus(Octet(2));
  RECT r;
  GetWindowRect(window_.hwnd(), &r);
  SendMessageW(window_.hwnd(), WM_MOUSEWHEEL, WheelWParam(0, 120), WheelLParam(r.left, r.top));
  EXPECT_EQ(TextOf(ControlId::txtIP2), u"11");
  SendMessageW(Octet(2), WM_MOUSEWHEEL, WheelWParam(0, -120), WheelLParam(r.right, r.bottom));
  EXPECT_EQ(TextOf(ControlId::txtIP2), u"10");
  SendMessageW(window_.hwnd(), WM_MOUSEWHEEL, WheelWParam(0, 120),
               WheelLParam(r.right + 1, r.bottom));
  EXPECT_EQ(TextOf(ControlId::txtIP2), u"10");
  EXPECT_EQ(TextOf(ControlId::txtNetwork), u"1.2.10.0");
}

// Real notches through the input queue with the pointer over the mask list, which the window
// system hands to the control under the pointer: the focus decides who takes them.
TEST_F(WindowTest, WheelOverTheMaskListActsByTheFocus) {
  RECT list;
  GetWindowRect(Control(ControlId::cmbMask), &list);
  const POINT over{(list.left + list.right) / 2, (list.top + list.bottom) / 2};
  Prepare({u"1", u"2", u"10", u"4"}, 2, 0, 0);
  Notch(over, WHEEL_DELTA);
  EXPECT_EQ(TextOf(ControlId::txtIP2), u"11");
  EXPECT_EQ(MaskIndex(), 8);
  SetFocus(Control(ControlId::cmbMask));
  Notch(over, -WHEEL_DELTA);
  EXPECT_EQ(TextOf(ControlId::txtIP2), u"11");
  EXPECT_EQ(MaskIndex(), 9);
  EXPECT_EQ(TextOf(ControlId::txtHosts), u"510");
}

// Real notches through the input queue with the pointer over each control and over the title
// bar: wherever the window system delivers them, the focused octet field steps, and the focused
// mask list moves one entry.
TEST_F(WindowTest, WheelActsOnTheFocusWhereverThePointerIs) {
  std::vector<std::pair<std::string, POINT>> places;
  for (const ControlDescription& d : kForm1Controls) {
    POINT at{TwipsToPixels(d.place.left + d.place.width / 2, window_.Dpi()),
             TwipsToPixels(d.place.top + d.place.height / 2, window_.Dpi())};
    ClientToScreen(window_.hwnd(), &at);
    places.emplace_back(std::string(d.name) + std::to_string(d.index), at);
  }
  RECT frame;
  GetWindowRect(window_.hwnd(), &frame);
  POINT client{0, 0};
  ClientToScreen(window_.hwnd(), &client);
  places.emplace_back("title bar", POINT{client.x + 40, (frame.top + client.y) / 2});
  Prepare({u"1", u"2", u"10", u"4"}, 2, 0, 0);
  for (const auto& [name, at] : places) {
    Notch(at, WHEEL_DELTA);
    EXPECT_EQ(TextOf(ControlId::txtIP2), u"11") << name;
    Notch(at, -WHEEL_DELTA);
  }
  SetFocus(Control(ControlId::cmbMask));
  for (const auto& [name, at] : places) {
    Notch(at, -WHEEL_DELTA);
    EXPECT_EQ(MaskIndex(), 9) << name;
    Notch(at, WHEEL_DELTA);
  }
  EXPECT_EQ(TextOf(ControlId::txtIP2), u"10");
  EXPECT_EQ(MaskIndex(), 8);
}

struct AtDestroy {
  HWND window = nullptr;
  bool seen = false;
  bool hooked = true;
};
AtDestroy g_atDestroy;

LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->hwnd == g_atDestroy.window && call->message == WM_DESTROY) {
    g_atDestroy.seen = true;
    g_atDestroy.hooked =
        GetPropW(call->hwnd, L"PrevWndProc") != nullptr ||
        GetWindowLongPtrW(call->hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WheelWindowProc);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(WindowTest, ClosingRemovesTheHookBeforeTheWindowIsDestroyed) {
  ASSERT_NE(GetPropW(window_.hwnd(), L"PrevWndProc"), nullptr);
  g_atDestroy = {window_.hwnd(), false, true};
  HHOOK watch = SetWindowsHookExW(WH_CALLWNDPROC, &WatchDestroy, nullptr, GetCurrentThreadId());
  SendMessageW(window_.hwnd(), WM_CLOSE, 0, 0);
  UnhookWindowsHookEx(watch);
  EXPECT_TRUE(g_atDestroy.seen);
  EXPECT_FALSE(g_atDestroy.hooked);
}

}  // namespace
}  // namespace maskora::testing
