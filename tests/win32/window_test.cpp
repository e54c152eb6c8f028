// SPDX-License-Identifier: MIT
// The main window on Win32 as the description makes it: each control's window class, place at
// the window's DPI, caption and styles; start-up, keyboard navigation, access keys, tool tips,
// the real message boxes, the focus across deactivation and minimizing, and closing the window
// while a handler waits.
#include <algorithm>
#include <cwctype>
#include <ostream>
#include <vector>

#include "core/text.h"
#include "tests/win32/window_fixture.h"

namespace maskora::testing {
namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) {
    c = static_cast<wchar_t>(std::towlower(c));
  }
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Lower(name);
}

LONG_PTR Style(HWND window) {
  return GetWindowLongPtrW(window, GWL_STYLE);
}

const wchar_t* WindowClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::OctetField:
    case ControlKind::ResultField:
      return L"edit";
    case ControlKind::Button:
      return L"button";
    case ControlKind::MaskList:
      return L"combobox";
    default:
      return L"static";
  }
}

class ControlTest : public WindowTest, public ::testing::WithParamInterface<ControlDescription> {};

TEST_P(ControlTest, MadeFromTheDescription) {
  const ControlDescription& d = GetParam();
  HWND control = Control(d.id);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(ClassOf(control), WindowClassOf(d.kind));
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, window_.hwnd(), reinterpret_cast<POINT*>(&r), 2);
  const int dpi = window_.Dpi();
  EXPECT_EQ(r.left, TwipsToPixels(d.place.left, dpi));
  if (d.kind == ControlKind::Label) {
    // On the text line of its field (TextFitTest), within its row.
    EXPECT_NEAR(r.top, TwipsToPixels(d.place.top, dpi), TwipsToPixels(d.place.height, dpi) / 4);
  } else {
    EXPECT_EQ(r.top, TwipsToPixels(d.place.top, dpi));
  }
  EXPECT_EQ(r.right - r.left, TwipsToPixels(d.place.width, dpi));
  EXPECT_EQ(r.bottom - r.top, TwipsToPixels(d.place.height, dpi));
  if (d.kind != ControlKind::MaskList && d.kind != ControlKind::ResultField) {
    EXPECT_EQ(TextOf(d.id), d.caption);
  }
  const LONG_PTR style = Style(control);
  EXPECT_EQ((style & WS_TABSTOP) != 0, (d.flags & kTabStop) != 0);
  EXPECT_EQ((GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0,
            (d.flags & kBorder) != 0);
  if (d.kind == ControlKind::OctetField || d.kind == ControlKind::ResultField) {
    EXPECT_EQ((style & ES_READONLY) != 0, (d.flags & kReadOnly) != 0);
    EXPECT_EQ((style & ES_CENTER) != 0, (d.flags & kCentred) != 0);
    EXPECT_EQ(SendMessageW(control, EM_GETLIMITTEXT, 0, 0), d.maxLength > 0 ? d.maxLength : 30000);
  }
  if (d.kind == ControlKind::OctetField) {
    // Three digits need every pixel: no margins, whatever the font would bring (Wine drops
    // them by itself for so narrow a field, Windows does not).
    EXPECT_EQ(SendMessageW(control, EM_GETMARGINS, 0, 0), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlTest, ::testing::ValuesIn(kForm1Controls),
                         [](const ::testing::TestParamInfo<ControlDescription>& info) {
                           return std::string(info.param.name) +
                                  (info.param.index < 0 ? "" : std::to_string(info.param.index));
                         });

TEST_F(WindowTest, FixedWindowOfTheDescribedSize) {
  const LONG_PTR style = Style(window_.hwnd());
  EXPECT_NE(style & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  RECT client;
  GetClientRect(window_.hwnd(), &client);
  EXPECT_EQ(client.right, TwipsToPixels(kForm1.clientWidth, window_.Dpi()));
  EXPECT_EQ(client.bottom, TwipsToPixels(kForm1.clientHeight, window_.Dpi()));
  EXPECT_EQ(WindowText(window_.hwnd()), kForm1.caption);
  // The frame lies beneath the octet fields, so that its edge never covers them.
  EXPECT_EQ(GetWindow(Control(ControlId::Label1), GW_HWNDNEXT), nullptr);
}

TEST_F(WindowTest, StartsInTheFirstFieldWithTheListFilled) {
  EXPECT_EQ(SendMessageW(Control(ControlId::cmbMask), CB_GETCOUNT, 0, 0), 33);
  EXPECT_EQ(MaskIndex(), 8);
  EXPECT_EQ(TextOf(ControlId::txtNetwork), u"0.0.0.0");
  EXPECT_EQ(Focused(), ControlId::txtIP0);
  DWORD first = 0;
  DWORD last = 0;
  SendMessageW(Octet(0), EM_GETSEL, reinterpret_cast<WPARAM>(&first),
               reinterpret_cast<LPARAM>(&last));
  EXPECT_EQ(first, 0u);
  EXPECT_EQ(last, 1u);
}

TEST_F(WindowTest, TabWalksTheDescribedOrder) {
  std::vector<ControlId> expected;
  for (const ControlDescription& d : kForm1Controls) {
    if ((d.flags & kTabStop) && d.id != ControlId::txtIP0) {
      expected.push_back(d.id);
    }
  }
  expected.push_back(ControlId::txtIP0);
  std::vector<ControlId> visited;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    Type(u"\t");
    visited.push_back(Focused().value_or(ControlId::Label1));
  }
  EXPECT_EQ(visited, expected);
}

// A label's access key enters the next control in tab order that takes the focus.
TEST_F(WindowTest, AccessKeysOfLabelsFocusTheNextControl) {
  for (std::size_t i = 0; i < kForm1Controls.size(); ++i) {
    const ControlDescription& label = kForm1Controls[i];
    if (label.kind != ControlKind::Label || AccessKey(label.caption) == 0) {
      continue;
    }
    const auto next =
        std::find_if(kForm1Controls.begin() + static_cast<std::ptrdiff_t>(i), kForm1Controls.end(),
                     [](const ControlDescription& d) { return d.flags & kTabStop; });
    ASSERT_NE(next, kForm1Controls.end());
    SetFocus(Control(ControlId::cmdCalc));
    AltKey(AccessKey(label.caption));
    EXPECT_EQ(Focused(), next->id) << Narrow(label.caption);
  }
}

TEST_F(WindowTest, AccessKeysOfButtonsClickThem) {
  AltKey(AccessKey(Describe(ControlId::cmdCalc).caption));
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].icon, MessageIcon::Information);

  AltKey(AccessKey(Describe(ControlId::cmdGetIpCli).caption));
  EXPECT_EQ(sources_.localCalls, 1);
  EXPECT_EQ(OctetTexts(), (Octets{u"192", u"168", u"1", u"10"}));

  AltKey(AccessKey(Describe(ControlId::CmdGetIpSrv).caption));
  EXPECT_EQ(sources_.publicCalls, 1);
  EXPECT_EQ(TextOf(ControlId::txtBroadcast), u"203.0.113.255");

  SendMessageW(Control(ControlId::cmbMask), CB_SETCURSEL, 12, 0);
  AltKey(AccessKey(Describe(ControlId::cmdSet).caption));
  EXPECT_EQ(MaskIndex(), 8);  // class C: /24
}

// Enter presses the push button that has the focus, which shows as the default button while it
// has it; elsewhere it presses none.
TEST_F(WindowTest, EnterPressesTheFocusedButton) {
  const auto enterOn = [this](ControlId id) {
    SetOctets({u"192", u"0", u"2", u"1"});
    SendMessageW(Control(ControlId::cmbMask), CB_SETCURSEL, 12, 0);
    window_.host().Click(ControlId::cmbMask);
    SetFocus(Control(id));
    Pump();
    const bool shownAsDefault = (Style(Control(id)) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    Type(u"\r");
    return shownAsDefault;
  };
  enterOn(ControlId::txtHosts);
  enterOn(ControlId::cmbMask);
  EXPECT_EQ(sources_.localCalls + sources_.publicCalls + boxes_.shown.size(), 0u);
  EXPECT_EQ(MaskIndex(), 12);
  EXPECT_TRUE(enterOn(ControlId::cmdGetIpCli));
  EXPECT_EQ(sources_.localCalls, 1);
  EXPECT_TRUE(enterOn(ControlId::CmdGetIpSrv));
  EXPECT_EQ(sources_.publicCalls, 1);
  EXPECT_TRUE(enterOn(ControlId::cmdCalc));
  EXPECT_EQ(boxes_.shown.size(), 1u);
  EXPECT_TRUE(enterOn(ControlId::cmdSet));
  EXPECT_EQ(MaskIndex(), 8);
  SetFocus(Octet(0));
  EXPECT_EQ(Style(Control(ControlId::cmdSet)) & BS_TYPEMASK, BS_PUSHBUTTON);
  // Where the dialog manager knows no default button, it reports Enter as IDOK.
  SetFocus(Control(ControlId::cmdCalc));
  SendMessageW(window_.hwnd(), WM_COMMAND, IDOK, 0);
  EXPECT_EQ(boxes_.shown.size(), 2u);
}

TEST_F(WindowTest, ChoosingAMaskFromTheKeyboardRecalculates) {
  SetFocus(Control(ControlId::cmbMask));
  Type(std::u16string(1, kDown));
  EXPECT_EQ(MaskIndex(), 9);
  EXPECT_EQ(TextOf(ControlId::txtHosts), u"510");
}

TEST_F(WindowTest, DisablingTheFocusedButtonMovesTheFocusOn) {
  SetFocus(Control(ControlId::cmdSet));
  sources_.local = u"224.0.0.1";
  window_.host().Click(ControlId::cmdGetIpCli);
  Pump();
  EXPECT_EQ(IsWindowEnabled(Control(ControlId::cmdSet)), FALSE);
  EXPECT_EQ(Focused(), ControlId::txtBroadcast);
}

BOOL CALLBACK FindToolTips(HWND window, LPARAM found) {
  if (ClassOf(window) == L"tooltips_class32") {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

TEST_F(WindowTest, ControlsCarryTheirToolTips) {
  HWND tips = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindToolTips, reinterpret_cast<LPARAM>(&tips));
  ASSERT_NE(tips, nullptr);
  int described = 0;
  for (const ControlDescription& d : kForm1Controls) {
    wchar_t shown[128] = {};
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = window_.hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(Control(d.id));
    info.lpszText = shown;
    SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(reinterpret_cast<const char16_t*>(shown), d.toolTip) << d.name;
    described += d.toolTip.empty() ? 0 : 1;
  }
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), described);
}

TEST_F(WindowTest, ActiveControlIsTheFocusedControl) {
  for (const ControlId id : {ControlId::txtIP2, ControlId::cmbMask, ControlId::txtHosts}) {
    SetFocus(Control(id));
    EXPECT_EQ(window_.ActiveControl(), id);
  }
}

// Minimizing, restoring and switching to another window bring the focus back into the control
// that had it, where typing goes on; the field was neither left nor entered.
TEST_F(WindowTest, FocusComesBackAfterMinimizeAndActivation) {
  Prepare({u"1", u"2", u"3", u""}, 3, 0, 0);
  ShowWindow(window_.hwnd(), SW_MINIMIZE);
  Pump();
  ShowWindow(window_.hwnd(), SW_RESTORE);
  Pump();
  EXPECT_EQ(Focused(), ControlId::txtIP3);
  Type(u"4");
  EXPECT_EQ(TextOf(ControlId::txtIP3), u"4");

  SendMessageW(window_.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  SendMessageW(window_.hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  Type(u"2");
  EXPECT_EQ(TextOf(ControlId::txtIP3), u"42");

  HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  Pump();
  SetForegroundWindow(window_.hwnd());
  Pump();
  DestroyWindow(other);
  Type(u"7");
  EXPECT_EQ(TextOf(ControlId::txtIP3), u"427");
  EXPECT_EQ(Focused(), ControlId::txtIP3);
}

TEST_F(WindowTest, ClosingWhileAHandlerWaitsEndsTheHandler) {
  int passesAfterClose = 0;
  sources_.onPublic = [&]() -> Text {
    PostMessageW(window_.hwnd(), WM_CLOSE, 0, 0);
    for (;;) {
      runtime_.ProcessPendingEvents();
      ++passesAfterClose;
    }
  };
  SendMessageW(Control(ControlId::CmdGetIpSrv), BM_CLICK, 0, 0);
  EXPECT_TRUE(window_.host().IsUnloaded());
  EXPECT_EQ(IsWindow(window_.hwnd()), FALSE);
  EXPECT_LE(passesAfterClose, 1);
}

// Reads a message box of this thread while it is open, then presses its OK button.
struct OpenBox {
  std::wstring title;
  std::vector<std::wstring> texts;
  bool icon = false;
  bool found = false;
};

OpenBox* g_openBox = nullptr;

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM) {
  if (ClassOf(child) == L"static" && IsWindowVisible(child) != FALSE) {
    if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      g_openBox->icon = g_openBox->icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else {
      const Text text = WindowText(child);
      g_openBox->texts.emplace_back(text.begin(), text.end());
    }
  }
  return TRUE;
}

BOOL CALLBACK FindBox(HWND window, LPARAM) {
  if (ClassOf(window) != L"#32770" || IsWindowVisible(window) == FALSE) {
    return TRUE;
  }
  g_openBox->found = true;
  const Text title = WindowText(window);
  g_openBox->title.assign(title.begin(), title.end());
  EnumChildWindows(window, &ReadBoxChild, 0);
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  return FALSE;
}

void CALLBACK CloseBox(HWND, UINT, UINT_PTR timer, DWORD) {
  if (g_openBox != nullptr && !g_openBox->found) {
    EnumThreadWindows(GetCurrentThreadId(), &FindBox, 0);
  }
  if (g_openBox == nullptr || g_openBox->found) {
    KillTimer(nullptr, timer);
  }
}

struct BoxCase {
  const char* name;
  MessageIcon icon;
  Text title;
  const wchar_t* shownTitle;
  bool shownIcon;
};

void PrintTo(const BoxCase& c, std::ostream* out) {
  *out << c.name;
}

class MessageBoxTest : public WindowTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxTest, ModalBoxWithTitleIconAndFocusKept) {
  const BoxCase& c = GetParam();
  Prepare({u"1", u"", u"3", u"4"}, 1, 0, 0);
  Win32MessageBoxes dialogs(window_.hwnd());
  OpenBox box;
  g_openBox = &box;
  SetTimer(nullptr, 0, 100, &CloseBox);
  dialogs.ShowMessage(u"Riga uno\n\nRiga due", c.icon, c.title);
  g_openBox = nullptr;
  Pump();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.title, c.shownTitle);
  EXPECT_EQ(box.icon, c.shownIcon);
  EXPECT_NE(std::find(box.texts.begin(), box.texts.end(), L"Riga uno\n\nRiga due"),
            box.texts.end());
  // The box neither left nor entered the field: the empty text was not corrected.
  EXPECT_EQ(Focused(), ControlId::txtIP1);
  EXPECT_EQ(TextOf(ControlId::txtIP1), u"");
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxTest,
    ::testing::Values(BoxCase{"NoTitleNoIcon", MessageIcon::None, u"", L"Maskora", false},
                      BoxCase{"Information", MessageIcon::Information, u"Info", L"Info", true},
                      BoxCase{"Exclamation", MessageIcon::Exclamation, u"", L"Maskora", true}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace maskora::testing
