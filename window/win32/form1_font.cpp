// SPDX-License-Identifier: MIT
// The window's font: the system's dialog font at the largest size at which every text that a
// control can show fits it, and each label on the text line of the field that it names.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

// The window system's declarations come first; the common controls build on them.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "window/shown_texts.h"
#include "window/win32/form1_window.h"

namespace maskora {

namespace {

// The platform's dialog font, as the system sets it.
LOGFONTW SystemDialogFont() {
  LOGFONTW font{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  return font;
}

// The height of the system's dialog font at the given DPI, in pixels: the system gives it at
// its own DPI, which a window on another monitor does not have.
int SystemFontPixels(int dpi) {
  int systemDpi = USER_DEFAULT_SCREEN_DPI;
  if (HDC screen = GetDC(nullptr); screen != nullptr) {
    systemDpi = std::max(GetDeviceCaps(screen, LOGPIXELSY), 1);
    ReleaseDC(nullptr, screen);
  }
  return std::max(MulDiv(std::abs(SystemDialogFont().lfHeight), dpi, systemDpi), 1);
}

// The platform's dialog font, so many pixels high.
HFONT DialogFont(int pixels) {
  LOGFONTW font = SystemDialogFont();
  font.lfHeight = -pixels;
  font.lfWidth = 0;
  return CreateFontIndirectW(&font);
}

SIZE TextSize(HDC dc, std::u16string_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()),
                        static_cast<int>(text.size()), &size);
  return size;
}

// Every text of every control, in the order of the description; made once, they never change.
const std::array<std::vector<Text>, kControlCount>& ShownTexts() {
  static const auto texts = [] {
    std::array<std::vector<Text>, kControlCount> all;
    for (const ControlDescription& d : kForm1Controls) {
      all[static_cast<std::size_t>(d.id)] = TextsShownBy(d);
    }
    return all;
  }();
  return texts;
}

// The field whose text line a label stands on: the next control in tab order that shows one.
std::optional<ControlId> FieldOfLabel(ControlId label) {
  for (auto i = static_cast<std::size_t>(label) + 1; i < kForm1Controls.size(); ++i) {
    const ControlKind kind = kForm1Controls[i].kind;
    if (kind == ControlKind::OctetField || kind == ControlKind::ResultField ||
        kind == ControlKind::MaskList) {
      return kForm1Controls[i].id;
    }
  }
  return std::nullopt;
}

}  // namespace

void Form1Window::FitFont(int dpi) {
  HFONT previousFont = font_;
  const int largest = SystemFontPixels(dpi);
  // Below three quarters of the system's size a text is hard to read: there one cut short is
  // the lesser harm.
  const int smallest = std::max(largest * 3 / 4, 1);
  for (int pixels = largest;; --pixels) {
    HFONT tried = font_;
    font_ = DialogFont(pixels);
    ApplyFont();
    if (tried != previousFont) {
      DeleteObject(tried);
    }
    if (pixels <= smallest || EveryTextFits()) {
      break;
    }
  }
  if (previousFont != nullptr) {
    DeleteObject(previousFont);
  }
}

bool Form1Window::EveryTextFits() const {
  HDC dc = GetDC(hwnd_);
  const HGDIOBJ previous = SelectObject(dc, font_);
  bool fits = true;
  for (const ControlDescription& d : kForm1Controls) {
    const SIZE room = TextRoom(d);
    for (const Text& text : ShownTexts()[static_cast<std::size_t>(d.id)]) {
      const SIZE size = TextSize(dc, text);
      fits = fits && size.cx <= room.cx && size.cy <= room.cy;
    }
  }
  SelectObject(dc, previous);
  ReleaseDC(hwnd_, dc);
  return fits;
}

// A label draws its text at its top. The field's line: where an edit control formats its text;
// two pixels inside the closed list's selection field, where the list draws it.
void Form1Window::AlignLabels() {
  for (const ControlDescription& d : kForm1Controls) {
    const std::optional<ControlId> field =
        d.kind == ControlKind::Label ? FieldOfLabel(d.id) : std::nullopt;
    if (!field) {
      continue;
    }
    HWND control = Control(*field);
    POINT line{0, 0};
    if (Describe(*field).kind == ControlKind::MaskList) {
      COMBOBOXINFO info{};
      info.cbSize = sizeof(info);
      GetComboBoxInfo(control, &info);
      line.y = info.rcItem.top + 2;
    } else {
      RECT format{};
      SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
      line.y = format.top;
    }
    MapWindowPoints(control, hwnd_, &line, 1);
    SetWindowPos(Control(d.id), nullptr, TwipsToPixels(d.place.left, dpi_), line.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace maskora
