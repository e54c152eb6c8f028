// The main window on Win32: its controls and their places, start-up, keyboard navigation,
// the buttons and the mask list, and closing it while a handler waits.
#include <cwctype>
#include <ostream>

#include "tests/win32/window_fixture.h"

namespace maskora::testing {
namespace {

struct Layout {
  int id;
  const wchar_t* windowClass;
  const wchar_t* caption;
  int left, top, width, height;  // twips
};

void PrintTo(const Layout& l, std::ostream* out) {
  *out << "control " << l.id;
}

constexpr Layout kLayouts[] = {
    {kIdLblDesc0, L"static", L"&Indirizzo IP:", 60, 120, 915, 255},
    {kIdLabel1, L"static", L"", 1140, 60, 1365, 315},
    {kIdTxtIP0, L"edit", L"0", 1170, 90, 315, 255},
    {kIdLblDot0, L"static", L".", 1470, 90, 75, 255},
    {kIdTxtIP0 + 1, L"edit", L"0", 1500, 90, 315, 255},
    {kIdLblDot0 + 1, L"static", L".", 1800, 90, 75, 255},
    {kIdTxtIP0 + 2, L"edit", L"0", 1830, 90, 315, 255},
    {kIdLblDot0 + 2, L"static", L".", 2130, 90, 75, 255},
    {kIdTxtIP0 + 3, L"edit", L"0", 2160, 90, 315, 255},
    {kIdCmdGetIpCli, L"button", L"&CLI", 2520, 60, 615, 315},
    {kIdCmdGetIpSrv, L"button", L"&SRV", 3180, 60, 615, 315},
    {kIdLblDesc0 + 1, L"static", L"Subnet &Mask: ", 60, 480, 1035, 255},
    {kIdCmbMask, L"combobox", L"(24) 255.255.255.0", 1140, 420, 1995, 0},
    {kIdCmdCalc, L"button", L"I&nfo", 3180, 420, 615, 315},
    {kIdLblDesc0 + 5, L"static", L"Stato IP:", 120, 960, 1035, 255},
    {kIdTxtStato, L"edit", nullptr, 1200, 960, 2595, 285},
    {kIdLblDesc0 + 7, L"static", L"Tipo indirizzo:", 120, 1260, 1035, 255},
    {kIdTxtTipo, L"edit", nullptr, 1200, 1260, 2595, 285},
    {kIdLblDesc0 + 6, L"static", L"Classe rete:", 120, 1560, 1035, 255},
    {kIdTxtClasse, L"edit", nullptr, 1200, 1560, 2055, 285},
    {kIdCmdSet, L"button", L"S&et", 3360, 1500, 435, 375},
    {kIdLblDesc0 + 2, L"static", L"Broadcast:", 120, 1860, 1035, 255},
    {kIdTxtBroadcast, L"edit", L"0.0.0.255", 1200, 1860, 2595, 285},
    {kIdLblDesc0 + 3, L"static", L"Hosts:", 120, 2160, 1035, 255},
    {kIdTxtHosts, L"edit", L"254", 1200, 2160, 2595, 285},
    {kIdLblDesc0 + 4, L"static", L"Network:", 120, 2460, 1035, 255},
    {kIdTxtNetwork, L"edit", L"0.0.0.0", 1200, 2460, 2595, 285},
};

int Pixels(int twips) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return MulDiv(twips, dpi, 1440);
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) {
    c = static_cast<wchar_t>(std::towlower(c));
  }
  return text;
}

LONG_PTR Style(HWND window) {
  return GetWindowLongPtrW(window, GWL_STYLE);
}

class LayoutTest : public WindowTest, public ::testing::WithParamInterface<Layout> {};

TEST_P(LayoutTest, KindPlaceAndCaption) {
  const Layout& l = GetParam();
  HWND control = Control(l.id);
  ASSERT_NE(control, nullptr);
  wchar_t name[32] = {};
  GetClassNameW(control, name, 32);
  EXPECT_EQ(Lower(name), l.windowClass);
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, window_.hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, Pixels(l.left));
  EXPECT_EQ(r.top, Pixels(l.top));
  EXPECT_EQ(r.right - r.left, Pixels(l.width));
  if (l.height != 0) {  // a combo box is as high as its font makes it
    EXPECT_EQ(r.bottom - r.top, Pixels(l.height));
  }
  if (l.caption != nullptr) {
    const Text text = TextOf(l.id);
    EXPECT_EQ(std::wstring(text.begin(), text.end()), l.caption);
  }
}

INSTANTIATE_TEST_SUITE_P(Controls, LayoutTest, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<Layout>& info) {
                           return std::to_string(info.param.id);
                         });

TEST_F(WindowTest, FixedWindowOfTheTableSize) {
  const LONG_PTR style = Style(window_.hwnd());
  EXPECT_NE(style & WS_CAPTION, 0);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_NE(style & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  RECT client;
  GetClientRect(window_.hwnd(), &client);
  EXPECT_EQ(client.right, Pixels(3855));
  EXPECT_EQ(client.bottom, Pixels(2850));
  EXPECT_EQ(WindowText(window_.hwnd()), kCaption);
}

TEST_F(WindowTest, ControlsBehaveAsTheirKind) {
  for (int i = 0; i < 4; ++i) {
    EXPECT_NE(Style(Octet(i)) & ES_CENTER, 0);
    EXPECT_EQ(Style(Octet(i)) & WS_BORDER, 0);
    EXPECT_EQ(GetWindowLongPtrW(Octet(i), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(SendMessageW(Octet(i), EM_GETLIMITTEXT, 0, 0), 3);
  }
  for (int id :
       {kIdTxtStato, kIdTxtTipo, kIdTxtClasse, kIdTxtBroadcast, kIdTxtHosts, kIdTxtNetwork}) {
    EXPECT_NE(Style(Control(id)) & ES_READONLY, 0) << id;
  }
  EXPECT_EQ(Style(Control(kIdCmbMask)) & 3, CBS_DROPDOWNLIST);
  EXPECT_NE(Style(Control(kIdLabel1)) & WS_BORDER, 0);
}

TEST_F(WindowTest, StartUpFillsTheListAndTheResults) {
  HWND list = Control(kIdCmbMask);
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 33);
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 8);
  wchar_t entry[64] = {};
  SendMessageW(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
  EXPECT_STREQ(entry, L"(32) 255.255.255.255");
  SendMessageW(list, CB_GETLBTEXT, 32, reinterpret_cast<LPARAM>(entry));
  EXPECT_STREQ(entry, L"( 0 ) 0.0.0.0");
  EXPECT_EQ(Octets(), (std::array<Text, 4>{u"0", u"0", u"0", u"0"}));
  EXPECT_EQ(FocusedId(), kIdTxtIP0);
  EXPECT_EQ(Selection(kIdTxtIP0), std::make_pair(0, 1));
  EXPECT_NE(IsWindowEnabled(Control(kIdCmdSet)), FALSE);
}

TEST_F(WindowTest, TabWalksTheTableOrder) {
  const std::vector<int> expected = {kIdTxtIP0 + 1,  kIdTxtIP0 + 2, kIdTxtIP0 + 3, kIdCmdGetIpCli,
                                     kIdCmdGetIpSrv, kIdCmbMask,    kIdCmdCalc,    kIdTxtStato,
                                     kIdTxtTipo,     kIdTxtClasse,  kIdCmdSet,     kIdTxtBroadcast,
                                     kIdTxtHosts,    kIdTxtNetwork, kIdTxtIP0};
  std::vector<int> visited;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    Type(KEY_TAB);
    visited.push_back(FocusedId());
  }
  EXPECT_EQ(visited, expected);
}

TEST_F(WindowTest, AccessKeysOfLabelsFocusTheNextControl) {
  AltKey('M');
  EXPECT_EQ(FocusedId(), kIdCmbMask);
  AltKey('I');
  EXPECT_EQ(FocusedId(), kIdTxtIP0);
  EXPECT_EQ(Selection(kIdTxtIP0), std::make_pair(0, 1));
}

TEST_F(WindowTest, AccessKeysOfButtonsClickThem) {
  AltKey('N');
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].icon, MessageIcon::Information);
  EXPECT_EQ(boxes_.shown[0].title, u"Maskora");

  AltKey('C');
  EXPECT_EQ(sources_.localCalls, 1);
  EXPECT_EQ(Octets(), (std::array<Text, 4>{u"192", u"168", u"1", u"10"}));
  EXPECT_EQ(TextOf(kIdTxtNetwork), u"192.168.1.0");

  AltKey('S');
  EXPECT_EQ(sources_.publicCalls, 1);
  EXPECT_EQ(Octets(), (std::array<Text, 4>{u"203", u"0", u"113", u"7"}));
  EXPECT_EQ(TextOf(kIdTxtBroadcast), u"203.0.113.255");
}

TEST_F(WindowTest, SetSelectsTheClassMaskOnlyWhileEnabled) {
  sources_.local = u"172.16.0.1";
  AltKey('C');
  AltKey('E');
  EXPECT_EQ(SendMessageW(Control(kIdCmbMask), CB_GETCURSEL, 0, 0), 16);
  EXPECT_EQ(TextOf(kIdTxtHosts), u"65.534");

  sources_.local = u"224.0.0.1";
  AltKey('C');
  EXPECT_EQ(IsWindowEnabled(Control(kIdCmdSet)), FALSE);
  AltKey('E');
  EXPECT_EQ(SendMessageW(Control(kIdCmbMask), CB_GETCURSEL, 0, 0), 16);
}

TEST_F(WindowTest, ChoosingAMaskRecalculates) {
  SetFocus(Control(kIdCmbMask));
  Type(KEY_DOWN);
  EXPECT_EQ(SendMessageW(Control(kIdCmbMask), CB_GETCURSEL, 0, 0), 9);
  EXPECT_EQ(TextOf(kIdTxtHosts), u"510");
  Type(KEY_UP KEY_UP);
  EXPECT_EQ(TextOf(kIdTxtHosts), u"126");
}

TEST_F(WindowTest, DisablingTheFocusedButtonMovesTheFocusOn) {
  SetFocus(Control(kIdCmdSet));
  sources_.local = u"224.0.0.1";
  window_.form().cmdGetIpCli_Click();
  Pump();
  EXPECT_EQ(IsWindowEnabled(Control(kIdCmdSet)), FALSE);
  EXPECT_EQ(FocusedId(), kIdTxtBroadcast);
}

BOOL CALLBACK FindToolTips(HWND window, LPARAM found) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (Lower(name) == L"tooltips_class32") {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

TEST_F(WindowTest, ButtonsCarryTheirToolTips) {
  HWND tips = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindToolTips, reinterpret_cast<LPARAM>(&tips));
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 2);
  const std::pair<int, const wchar_t*> expected[] = {
      {kIdCmdGetIpCli, L"Imposta l'indirizzo IP privato di questo PC."},
      {kIdCmdGetIpSrv, L"Imposta l'indirizzo IP pubblico accedendo ad internet."}};
  for (const auto& [id, text] : expected) {
    wchar_t shown[128] = {};
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = window_.hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(Control(id));
    info.lpszText = shown;
    SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(shown, text);
  }
}

TEST_F(WindowTest, ActiveControlNamesTheFocusedControl) {
  // MouseWheel acts only on a focused octet field, which it finds by name and index.
  SetOctets({u"1", u"2", u"10", u"4"});
  SetFocus(Octet(2));
  window_.form().MouseWheel(0, 120, 0, 0);
  EXPECT_EQ(TextOf(kIdTxtIP0 + 2), u"11");
  SetFocus(Control(kIdCmbMask));
  window_.form().MouseWheel(0, 120, 0, 0);
  EXPECT_EQ(Octets(), (std::array<Text, 4>{u"1", u"2", u"11", u"4"}));
}

TEST_F(WindowTest, ClosingWhileAHandlerWaitsEndsTheHandler) {
  int passesAfterClose = 0;
  sources_.onPublic = [&]() -> Text {
    PostMessageW(window_.hwnd(), WM_CLOSE, 0, 0);
    for (;;) {
      runtime_.DoEvents();
      ++passesAfterClose;
    }
  };
  SendMessageW(Control(kIdCmdGetIpSrv), BM_CLICK, 0, 0);
  EXPECT_TRUE(window_.IsUnloaded());
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
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  if (Lower(name) == L"static" && IsWindowVisible(child) != FALSE) {
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
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (std::wstring(name) != L"#32770" || IsWindowVisible(window) == FALSE) {
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
  SetOctets({u"1", u"", u"3", u"4"});
  SetFocus(Octet(1));
  Pump();
  Win32MessageBoxes dialogs;
  dialogs.SetOwner(window_.hwnd());
  OpenBox box;
  g_openBox = &box;
  SetTimer(nullptr, 0, 100, &CloseBox);
  dialogs.MsgBox(u"Riga uno\n\nRiga due", c.icon, c.title);
  g_openBox = nullptr;
  Pump();
  ASSERT_TRUE(box.found);
  EXPECT_EQ(box.title, c.shownTitle);
  EXPECT_EQ(box.icon, c.shownIcon);
  EXPECT_NE(std::find(box.texts.begin(), box.texts.end(), L"Riga uno\n\nRiga due"),
            box.texts.end());
  // The box neither left nor entered the field: the empty text was not corrected.
  EXPECT_EQ(FocusedId(), kIdTxtIP0 + 1);
  EXPECT_EQ(TextOf(kIdTxtIP0 + 1), u"");
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageBoxTest,
    ::testing::Values(BoxCase{"NoTitleNoIcon", MessageIcon::None, u"", L"Maskora", false},
                      BoxCase{"Information", MessageIcon::Information, u"Info", L"Info", true},
                      BoxCase{"Exclamation", MessageIcon::Exclamation, u"", L"Maskora", true}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace maskora::testing
