// SPDX-License-Identifier: MIT
// The controls of the main window as the window system's own, made from the window's
// description and placed at the window's DPI.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

// The window system's declarations come first; the common controls build on them.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "window/win32/form1_window.h"

namespace maskora {

namespace {

using namespace win32;

// Entries that the dropped mask list shows at once.
constexpr int kVisibleMasks = 12;
// Every child clips its siblings, so the stacking order decides what is drawn on top.
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

struct WindowKind {
  const wchar_t* windowClass;
  DWORD style;
};

WindowKind KindOf(const ControlDescription& d) {
  const bool centred = (d.flags & kCentred) != 0;
  switch (d.kind) {
    case ControlKind::Label:
      return {L"STATIC", static_cast<DWORD>(centred ? SS_CENTER : SS_LEFTNOWORDWRAP)};
    case ControlKind::AddressFrame:
    case ControlKind::Dot:
      return {L"STATIC", static_cast<DWORD>(SS_NOPREFIX | (centred ? SS_CENTER : SS_LEFT))};
    case ControlKind::OctetField:
    case ControlKind::ResultField:
      return {L"EDIT", static_cast<DWORD>(ES_AUTOHSCROLL | (centred ? ES_CENTER : ES_LEFT) |
                                          ((d.flags & kReadOnly) ? ES_READONLY : 0))};
    case ControlKind::Button:
      return {L"BUTTON", BS_PUSHBUTTON};
    case ControlKind::MaskList:
      return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL};
  }
  return {L"STATIC", 0};
}

DWORD StyleOf(const ControlDescription& d) {
  return kChild | KindOf(d).style | ((d.flags & kTabStop) ? WS_TABSTOP : 0) |
         ((d.flags & kDisabled) ? WS_DISABLED : 0);
}

// A frame of its own is the sunken edge, 2 pixels at 96 DPI: the 30 twips by which the octet
// fields lie inside the address frame.
DWORD ExStyleOf(const ControlDescription& d) {
  return (d.flags & kBorder) ? WS_EX_CLIENTEDGE : 0;
}

template <typename Function>
Function ProcAddress(const wchar_t* module, const char* name) {
  const FARPROC proc = GetProcAddress(GetModuleHandleW(module), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

// A system metric at the given DPI where the system scales them per monitor.
int Metric(int index, int dpi) {
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi =
      ProcAddress<GetSystemMetricsForDpiFn>(L"user32", "GetSystemMetricsForDpi");
  return forDpi != nullptr ? forDpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

int TextWidth(HDC dc, std::u16string_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()),
                        static_cast<int>(text.size()), &size);
  return size.cx;
}

// A dot lies over the edges of the octet fields beside it: it keeps only the pixels of its
// glyph, where the static control draws it (centred, at the top), so that it never covers a
// digit.
void ShapeDot(HWND dot, HFONT font) {
  RECT client{};
  GetClientRect(dot, &client);
  HDC dc = GetDC(dot);
  const HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  GLYPHMETRICS glyph{};
  const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  const DWORD found = GetGlyphOutlineW(dc, L'.', GGO_METRICS, &glyph, 0, nullptr, &identity);
  const int advance = TextWidth(dc, u".");
  SelectObject(dc, previous);
  ReleaseDC(dot, dc);
  if (found == GDI_ERROR || glyph.gmBlackBoxX == 0) {
    SetWindowRgn(dot, nullptr, TRUE);
    return;
  }
  const int left = (client.right - advance) / 2 + glyph.gmptGlyphOrigin.x;
  const int top = metrics.tmAscent - glyph.gmptGlyphOrigin.y;
  SetWindowRgn(dot,
               CreateRectRgn(left, top, left + static_cast<int>(glyph.gmBlackBoxX),
                             top + static_cast<int>(glyph.gmBlackBoxY)),
               TRUE);
}

}  // namespace

// The DPI of the window's monitor where the system tells it (Windows 10 from 1607), the
// system's otherwise.
int win32::WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = ProcAddress<GetDpiForWindowFn>(L"user32", "GetDpiForWindow");
  if (getDpiForWindow != nullptr && window != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
      return static_cast<int>(dpi);
    }
  }
  int dpi = USER_DEFAULT_SCREEN_DPI;
  if (HDC screen = GetDC(nullptr); screen != nullptr) {
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

void Form1Window::CreateControls(HINSTANCE instance) {
  for (const ControlDescription& d : kForm1Controls) {
    const std::u16string caption(d.caption);
    CreateWindowExW(ExStyleOf(d), KindOf(d).windowClass,
                    reinterpret_cast<const wchar_t*>(caption.c_str()), StyleOf(d), 0, 0, 0, 0,
                    hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(DialogId(d.id))), instance,
                    nullptr);
  }
  for (const ControlDescription& d : kForm1Controls) {
    HWND control = Control(d.id);
    if (d.maxLength > 0) {
      SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(d.maxLength), 0);
    }
    if (d.flags & kBeneath) {
      SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (d.kind == ControlKind::OctetField) {
      SetWindowSubclass(control, &OctetProc, static_cast<UINT_PTR>(d.index),
                        reinterpret_cast<DWORD_PTR>(this));
    } else if (d.kind == ControlKind::MaskList) {
      SetWindowSubclass(control, &MaskListProc, 0, reinterpret_cast<DWORD_PTR>(this));
      SendMessageW(control, CB_SETMINVISIBLE, kVisibleMasks, 0);
    } else if (d.kind == ControlKind::ResultField) {
      SetWindowSubclass(control, &ResultFieldProc, 0, reinterpret_cast<DWORD_PTR>(this));
    } else if (d.kind == ControlKind::Button) {
      SetWindowSubclass(control, &ButtonProc, 0, 0);
    }
  }
  CreateToolTips(instance);
}

void Form1Window::CreateToolTips(HINSTANCE instance) {
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance, nullptr);
  if (tips == nullptr) {
    return;
  }
  for (const ControlDescription& d : kForm1Controls) {
    if (d.toolTip.empty()) {
      continue;
    }
    std::u16string text(d.toolTip);
    TOOLINFOW info{};
    // The size that every version of the common controls accepts.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(Control(d.id));
    info.lpszText = reinterpret_cast<wchar_t*>(text.data());  // copied by the tool tips
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

// The places at the DPI, then the system's dialog font at the largest size at which every text
// fits its control, then the labels on the text lines of their fields.
void Form1Window::Layout(int dpi) {
  dpi_ = dpi;
  const auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  for (const ControlDescription& d : kForm1Controls) {
    SetWindowPos(Control(d.id), nullptr, px(d.place.left), px(d.place.top), px(d.place.width),
                 px(d.place.height), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FitFont(dpi);
  AlignLabels();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1Window::ApplyFont() {
  HWND maskList = nullptr;
  for (const ControlDescription& d : kForm1Controls) {
    HWND control = Control(d.id);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    switch (d.kind) {
      case ControlKind::OctetField:
        // A new font brings its own margins; an octet's three digits need every pixel.
        SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        break;
      case ControlKind::Dot:
        ShapeDot(control, font_);
        break;
      case ControlKind::MaskList:
        maskList = control;
        break;
      default:
        break;
    }
  }
  if (maskList != nullptr) {
    const ControlDescription& d = Describe(ControlId::cmbMask);
    const auto px = [this](int twips) { return TwipsToPixels(twips, dpi_); };
    // The closed list is exactly as high as its place: the selection field takes what the
    // combo box's frame leaves, measured, and put right once more if the control adds to it.
    auto field = static_cast<int>(SendMessageW(maskList, CB_GETITEMHEIGHT, WPARAM(-1), 0));
    for (int attempt = 0; attempt < 3; ++attempt) {
      RECT r{};
      GetWindowRect(maskList, &r);
      const int excess = (r.bottom - r.top) - px(d.place.height);
      if (excess == 0 || field - excess < 1) {
        break;
      }
      field -= excess;
      SendMessageW(maskList, CB_SETITEMHEIGHT, WPARAM(-1), field);
    }
    // Room below for the dropped list, where the list takes its height from the window's.
    const auto item = static_cast<int>(SendMessageW(maskList, CB_GETITEMHEIGHT, 0, 0));
    RECT r{};
    GetWindowRect(maskList, &r);
    SetWindowPos(maskList, nullptr, 0, 0, px(d.place.width),
                 (r.bottom - r.top) + kVisibleMasks * item + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitDroppedWidth();
  }
}

// The room that a control leaves its text: its client area less the margins that it keeps.
SIZE Form1Window::TextRoom(const ControlDescription& d) const {
  HWND control = Control(d.id);
  RECT client{};
  GetClientRect(control, &client);
  SIZE room{client.right, client.bottom};
  switch (d.kind) {
    case ControlKind::OctetField:
    case ControlKind::ResultField: {
      const auto margins = static_cast<DWORD>(SendMessageW(control, EM_GETMARGINS, 0, 0));
      room.cx -= LOWORD(margins) + HIWORD(margins);
      break;
    }
    case ControlKind::Button:
      room.cx -= 2 * Metric(SM_CXEDGE, dpi_);
      break;
    case ControlKind::MaskList: {
      // The selection field: the list itself takes as much height as its entries need.
      COMBOBOXINFO info{};
      info.cbSize = sizeof(info);
      GetComboBoxInfo(control, &info);
      room = {info.rcItem.right - info.rcItem.left, std::numeric_limits<LONG>::max()};
      break;
    }
    default:
      break;
  }
  return room;
}

void Form1Window::FitFrame(const RECT* place) {
  const int width = TwipsToPixels(kForm1.clientWidth, dpi_);
  const int height = TwipsToPixels(kForm1.clientHeight, dpi_);
  RECT window{};
  RECT client{};
  GetWindowRect(hwnd_, &window);
  if (place != nullptr) {
    window = *place;
  }
  // The frame around the client area can change with the DPI: measured, and put right once
  // more if the window system drew it otherwise at the new size.
  for (int attempt = 0; attempt < 2; ++attempt) {
    RECT now{};
    GetWindowRect(hwnd_, &now);
    GetClientRect(hwnd_, &client);
    if (attempt > 0 && client.right == width && client.bottom == height) {
      break;
    }
    const int frameWidth = (now.right - now.left) - client.right;
    const int frameHeight = (now.bottom - now.top) - client.bottom;
    SetWindowPos(hwnd_, nullptr, window.left, window.top, width + frameWidth, height + frameHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The dropped list is as wide as its longest entry, with its scroll bar and frame.
void Form1Window::FitDroppedWidth() {
  HWND maskList = Control(ControlId::cmbMask);
  HDC dc = GetDC(maskList);
  const HGDIOBJ previous = SelectObject(dc, font_);
  int longest = 0;
  const auto count = static_cast<int>(SendMessageW(maskList, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = SendMessageW(maskList, CB_GETLBTEXTLEN, i, 0);
    if (length <= 0) {
      continue;
    }
    std::u16string entry(static_cast<std::size_t>(length) + 1, u'\0');
    SendMessageW(maskList, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(static_cast<std::size_t>(length));
    longest = std::max(longest, TextWidth(dc, entry));
  }
  SelectObject(dc, previous);
  ReleaseDC(maskList, dc);
  const int padding = 2 * (Metric(SM_CXEDGE, dpi_) + Metric(SM_CXBORDER, dpi_)) + 4;
  RECT r{};
  GetWindowRect(maskList, &r);
  SendMessageW(maskList, CB_SETDROPPEDWIDTH,
               std::max<int>(r.right - r.left, longest + padding + Metric(SM_CXVSCROLL, dpi_)), 0);
}

}  // namespace maskora
