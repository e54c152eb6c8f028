// SPDX-License-Identifier: MIT
// Every caption and every text that the window shows fits its control, measured with the
// window's own TrueType font at the window's DPI (the test command runs this at 96, 120 and
// 144 DPI), also after the window moved to a monitor of another DPI.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "address/address.h"
#include "core/text.h"
#include "tests/win32/window_fixture.h"
#include "window/result_fields.h"

namespace maskora::testing {
namespace {

constexpr UINT kWmDpiChanged = 0x02E0;

struct Measured {
  int width = 0;
  int height = 0;
};

// In the control's own font, or in the one given.
Measured Measure(HWND control, const Text& text, HFONT font = nullptr) {
  HDC dc = GetDC(control);
  const HGDIOBJ previous = SelectObject(
      dc,
      font != nullptr ? font : reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.c_str()),
                        static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return {size.cx, size.cy};
}

// Every text that a result field can show: the evaluation of addresses that reach each class,
// kind, status and host count.
const std::map<ControlId, std::set<Text>>& ResultTexts() {
  static std::map<ControlId, std::set<Text>> texts;
  if (!texts.empty()) {
    return texts;
  }
  for (double o1 = 0; o1 <= 255; ++o1) {
    for (const double o2 : {0, 16, 18, 88, 168, 254}) {
      for (const double o3 : {2, 99, 255}) {
        for (const double o4 : {0, 255}) {
          for (const int hostBits : {0, 1, 2, 8, 16, 24, 31, 32}) {
            const SubnetResult r = EvaluateSubnet({o1, o2, o3, o4}, hostBits);
            texts[ControlId::txtStato].insert(Widen(r.StatusText));
            texts[ControlId::txtTipo].insert(Widen(r.TypeText));
            texts[ControlId::txtClasse].insert(Widen(r.ClassText));
            texts[ControlId::txtBroadcast].insert(Widen(r.BroadcastText));
            texts[ControlId::txtNetwork].insert(Widen(r.NetworkText));
            texts[ControlId::txtHosts].insert(Widen(r.HostsText));
          }
        }
      }
    }
  }
  return texts;
}

// The first and the last row of dark pixels in a control's client area or part of it, in the
// form's client coordinates, as the window shows them.
std::pair<int, int> InkRows(HWND form, HWND control, RECT area) {
  MapWindowPoints(control, form, reinterpret_cast<POINT*>(&area), 2);
  HDC dc = GetDC(form);
  std::pair<int, int> rows{-1, -1};
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      if (GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c) < 1280) {
        rows = {rows.first < 0 ? y : rows.first, y};
      }
    }
  }
  ReleaseDC(form, dc);
  return rows;
}

class TextFitTest : public WindowTest {
 protected:
  // The room that a control leaves its text: the client area less the margins it keeps.
  int Room(const ControlDescription& d) const {
    HWND control = Control(d.id);
    RECT client{};
    GetClientRect(control, &client);
    switch (d.kind) {
      case ControlKind::OctetField:
      case ControlKind::ResultField: {
        const auto margins = static_cast<DWORD>(SendMessageW(control, EM_GETMARGINS, 0, 0));
        return client.right - LOWORD(margins) - HIWORD(margins);
      }
      case ControlKind::Button:
        return client.right - 2 * GetSystemMetrics(SM_CXEDGE);
      case ControlKind::MaskList: {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(control, &info);
        return info.rcItem.right - info.rcItem.left;
      }
      default:
        return client.right;
    }
  }

  std::vector<Text> TextsOf(const ControlDescription& d) const {
    switch (d.kind) {
      case ControlKind::OctetField:
        return {u"255", u"192"};
      case ControlKind::ResultField: {
        const auto& all = results_.at(d.id);
        return {all.begin(), all.end()};
      }
      case ControlKind::MaskList: {
        std::vector<Text> entries;
        HWND list = Control(d.id);
        for (int i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
          wchar_t entry[64] = {};
          SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
          entries.emplace_back(reinterpret_cast<const char16_t*>(entry));
        }
        return entries;
      }
      default: {
        // Blanks at the end of a caption show nothing.
        Text caption = ShownCaption(d.caption);
        caption.erase(caption.find_last_not_of(u' ') + 1);
        return {caption};
      }
    }
  }

  // Measures every control's widest text against its room, printing the figures.
  void ExpectEverythingFits() {
    std::printf("at %d DPI:\n", window_.Dpi());
    for (const ControlDescription& d : kForm1Controls) {
      Text widest;
      Measured most;
      for (const Text& text : TextsOf(d)) {
        const Measured m = Measure(Control(d.id), text);
        if (m.width >= most.width) {
          widest = text;
          most = m;
        }
      }
      if (widest.empty()) {
        continue;
      }
      RECT client{};
      GetClientRect(Control(d.id), &client);
      const int room = Room(d);
      std::printf("  %-13s %3d of %3d px wide, %2d of %2d high: %s\n",
                  (std::string(d.name) + (d.index < 0 ? "" : std::to_string(d.index))).c_str(),
                  most.width, room, most.height, static_cast<int>(client.bottom),
                  Narrow(widest).c_str());
      EXPECT_LE(most.width, room) << d.name << " " << d.index << ": " << Narrow(widest);
      if (d.kind != ControlKind::MaskList) {
        EXPECT_LE(most.height, client.bottom) << d.name << " " << d.index;
      }
    }
  }

  // Each label's text stands on the text line of the field that it names: the same text shows
  // the same rows of pixels in both.
  void ExpectLabelsOnTheLinesOfTheirFields() {
    std::vector<std::pair<ControlId, ControlId>> pairs = {
        {ControlId::lblDesc0, ControlId::txtIP0}, {ControlId::lblDesc1, ControlId::cmbMask}};
    for (const ResultField& result : kResultFields) {
      pairs.emplace_back(result.label, result.field);
    }
    SetFocus(Control(ControlId::cmdCalc));
    std::printf("at %d DPI, label against field, rows of pixels:\n", window_.Dpi());
    for (const auto& [label, field] : pairs) {
      HWND control = Control(field);
      RECT area{};
      GetClientRect(control, &area);
      if (field == ControlId::cmbMask) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(control, &info);
        area = info.rcItem;
        SetWindowTextW(Control(label),
                       reinterpret_cast<const wchar_t*>(WindowText(control).c_str()));
      } else {
        SetWindowTextW(Control(label), L"0");
        SetWindowTextW(control, L"0");
        InflateRect(&area, field == ControlId::txtIP0 ? -area.right / 4 : 0, 0);  // not the dot
      }
      RECT labelArea{};
      GetClientRect(Control(label), &labelArea);
      RedrawWindow(window_.hwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      const auto labelRows = InkRows(window_.hwnd(), Control(label), labelArea);
      const auto fieldRows = InkRows(window_.hwnd(), control, area);
      std::printf("  %-13s %3d-%3d against %3d-%3d: %+d px\n", Describe(field).name.data(),
                  labelRows.first, labelRows.second, fieldRows.first, fieldRows.second,
                  labelRows.second - fieldRows.second);
      EXPECT_GE(labelRows.first, 0);
      EXPECT_EQ(labelRows, fieldRows) << Describe(field).name;
    }
  }

  const std::map<ControlId, std::set<Text>>& results_ = ResultTexts();
};

TEST_F(TextFitTest, LabelsSitOnTheTextLineOfTheirFields) {
  ExpectLabelsOnTheLinesOfTheirFields();
}

// The window's font is a TrueType font: the platform's dialog font as the system resolves it
// (Microsoft Sans Serif on Windows, Tahoma under Wine), not a fallback for a missing one.
TEST_F(TextFitTest, TheDialogFontIsARealOne) {
  HWND field = Octet(0);
  HDC dc = GetDC(field);
  const HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  std::vector<char> buffer(GetOutlineTextMetricsW(dc, 0, nullptr));
  std::wstring family;
  if (!buffer.empty()) {
    auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
    GetOutlineTextMetricsW(dc, static_cast<UINT>(buffer.size()), outline);
    family = reinterpret_cast<const wchar_t*>(
        buffer.data() + reinterpret_cast<std::size_t>(outline->otmpFamilyName));
  }
  SelectObject(dc, previous);
  ReleaseDC(field, dc);
  std::printf("dialog font: %ls, %ld px high at %d DPI\n", family.c_str(), metrics.tmHeight,
              window_.Dpi());
  EXPECT_NE(metrics.tmPitchAndFamily & TMPF_TRUETYPE, 0);
  EXPECT_TRUE(family == L"Tahoma" || family == L"Microsoft Sans Serif") << "font " << family.size();
}

TEST_F(TextFitTest, EveryTextFitsItsControl) {
  ExpectEverythingFits();
}

// The system's dialog font at its own size, or at the size below which some text would not fit.
TEST_F(TextFitTest, TheFontIsTheLargestThatFits) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Octet(0), WM_GETFONT, 0, 0)), sizeof(font),
             &font);
  LOGFONTW system{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(system), &system);
  HDC screen = GetDC(nullptr);
  const int systemPixels =
      MulDiv(std::abs(system.lfHeight), window_.Dpi(), GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  std::printf("%ls %ld px of the system's %d\n", font.lfFaceName, -font.lfHeight, systemPixels);
  EXPECT_STREQ(font.lfFaceName, system.lfFaceName);
  ASSERT_LE(-font.lfHeight, systemPixels);
  --font.lfHeight;
  HFONT larger = CreateFontIndirectW(&font);
  int tooLarge = 0;
  for (const ControlDescription& d : kForm1Controls) {
    RECT client{};
    GetClientRect(Control(d.id), &client);
    for (const Text& text : TextsOf(d)) {
      const Measured m = Measure(Control(d.id), text, larger);
      tooLarge +=
          m.width > Room(d) || (d.kind != ControlKind::MaskList && m.height > client.bottom);
    }
  }
  DeleteObject(larger);
  // One pixel more: above the system's size, or some text would not fit.
  EXPECT_TRUE(-font.lfHeight > systemPixels || tooLarge > 0);
}

// The window moves to a monitor of another DPI: the layout and the font follow, crisp, at the
// client size of the description at that DPI.
TEST_F(TextFitTest, FollowsAChangeOfDpi) {
  const int start = window_.Dpi();
  const int fontHeight = Measure(Octet(0), u"0").height;
  for (const int dpi : {144, 120, start}) {
    RECT frame;
    GetWindowRect(window_.hwnd(), &frame);
    RECT suggested{frame.left, frame.top, frame.left + MulDiv(frame.right - frame.left, dpi, 96),
                   frame.top + MulDiv(frame.bottom - frame.top, dpi, 96)};
    SendMessageW(window_.hwnd(), kWmDpiChanged, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    Pump();
    ASSERT_EQ(window_.Dpi(), dpi);
    RECT client;
    GetClientRect(window_.hwnd(), &client);
    EXPECT_EQ(client.right, TwipsToPixels(kForm1.clientWidth, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(kForm1.clientHeight, dpi));
    RECT r;
    GetWindowRect(Control(ControlId::cmdSet), &r);
    MapWindowPoints(nullptr, window_.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, TwipsToPixels(Describe(ControlId::cmdSet).place.left, dpi));
    EXPECT_EQ(r.bottom - r.top, TwipsToPixels(Describe(ControlId::cmdSet).place.height, dpi));
    EXPECT_NEAR(Measure(Octet(0), u"0").height, fontHeight * dpi / start, 1 + dpi / 96);
    ExpectEverythingFits();
    ExpectLabelsOnTheLinesOfTheirFields();
  }
}

}  // namespace
}  // namespace maskora::testing
