// SPDX-License-Identifier: MIT
#include "window/win32/form1_window.h"

// The window system's declarations come first; the common controls build on them.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "window/win32/win32_runtime.h"

namespace maskora {

namespace {

using namespace win32;

constexpr int kIconResource = 1;
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Sent when the window moves to a monitor of another DPI (Windows 8.1 and later).
constexpr UINT kWmDpiChanged = 0x02E0;

void RegisterFormClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(instance, kFormClassName, &wc) != FALSE) {
    return;
  }
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kFormClassName;
  wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                           LR_DEFAULTCOLOR));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  RegisterClassExW(&wc);
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, ToolkitRuntime& runtime, AddressSources& sources,
                         MessageBoxes* dialogs) {
  RegisterFormClass(instance, &WindowProc);
  const int systemDpi = WindowDpi(nullptr);
  RECT frame{0, 0, TwipsToPixels(kForm1.clientWidth, systemDpi),
             TwipsToPixels(kForm1.clientHeight, systemDpi)};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);
  const std::u16string caption(kForm1.caption);
  hwnd_ = CreateWindowExW(0, kFormClassName, reinterpret_cast<const wchar_t*>(caption.c_str()),
                          kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                          frame.bottom - frame.top, nullptr, nullptr, instance, this);
  if (hwnd_ == nullptr) {
    return;
  }
  CreateControls(instance);
  Layout(WindowDpi(hwnd_));
  FitFrame(nullptr);

  for (const ControlDescription& d : kForm1Controls) {
    if (d.kind == ControlKind::OctetField || d.kind == ControlKind::ResultField) {
      fields_[static_cast<std::size_t>(d.id)] = std::make_unique<Win32TextField>(Control(d.id));
    }
  }
  maskList_ = std::make_unique<Win32DropDownList>(Control(ControlId::cmbMask),
                                                  [this] { host_->Click(ControlId::cmbMask); });
  setButton_ = std::make_unique<Win32PushButton>(Control(ControlId::cmdSet));
  if (dialogs == nullptr) {
    ownDialogs_ = std::make_unique<Win32MessageBoxes>(hwnd_);
    dialogs = ownDialogs_.get();
  }
  wheelHook_ = std::make_unique<Win32WheelHook>(hwnd_);
  host_ = std::make_unique<Form1Host>(*this, *dialogs, runtime, sources, *wheelHook_);
  AddLoadedForm(hwnd_, [this](std::int32_t rotation) { host_->MouseWheel(rotation); });
}

// The handlers are done with before the controls go: the window is unloaded and the host
// detached while every control still exists.
Form1Window::~Form1Window() {
  if (IsWindow(hwnd_) != FALSE) {
    if (host_ != nullptr) {
      host_->Unload();
    }
    DestroyWindow(hwnd_);
  }
  RemoveLoadedForm(hwnd_);
  if (font_ != nullptr) {
    DeleteObject(font_);
  }
}

void Form1Window::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE); first != nullptr) {
    SetFocus(first);
  }
}

void Form1Window::RunMessageLoop() {
  MSG message{};
  while (IsWindow(hwnd_) != FALSE && GetMessageW(&message, nullptr, 0, 0) > 0) {
    DeliverMessage(message);
  }
}

std::optional<ControlId> Form1Window::ActiveControl() const {
  HWND focus = GetFocus();
  if (focus == nullptr || IsChild(hwnd_, focus) == FALSE) {
    return std::nullopt;
  }
  // The list of a combo box or the field of an edit belong to their control.
  while (GetParent(focus) != hwnd_) {
    focus = GetParent(focus);
  }
  return ControlOfDialogId(GetDlgCtrlID(focus));
}

void Form1Window::Beep() {
  MessageBeep(MB_ICONWARNING);
}

LRESULT CALLBACK Form1Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* self = static_cast<Form1Window*>(create->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Form1Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NEXTDLGCTL:
      OnNextControl(wParam, lParam);
      return 0;
    case WM_CTLCOLORSTATIC:
      if (const LRESULT brush =
              OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
          brush != 0) {
        return brush;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        SaveFocus();
      } else if (HIWORD(wParam) == 0) {
        RestoreFocus();
        return 0;
      }
      break;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        SaveFocus();
      }
      break;
    case WM_MOUSEWHEEL:
      // Handed on by a control under the pointer, after the hook: the focused mask list takes
      // the notch as if the pointer were over it. Once: the list may hand it back.
      if (HWND list = Control(ControlId::cmbMask); GetFocus() == list && !wheelToList_) {
        wheelToList_ = true;
        const LRESULT result = SendMessageW(list, message, wParam, lParam);
        wheelToList_ = false;
        return result;
      }
      break;
    case WM_SETFOCUS:
      // The window itself holds the focus only on its way to one of its controls.
      RestoreFocus();
      return 0;
    case kWmDpiChanged:
      Layout(HIWORD(wParam));
      FitFrame(reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      host_->Unload();
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      // Before the controls: their focus and destruction messages reach no handler.
      if (host_ != nullptr) {
        host_->Unload();
        host_->Detach();
      }
      return 0;
    case WM_NCDESTROY:
      RemoveLoadedForm(hwnd_);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Form1Window::OnCommand(int dialogId, int code) {
  if (dialogId == IDOK && code == BN_CLICKED) {
    // Enter where the dialog manager knows no default button: the focused push button is it.
    HWND focus = GetFocus();
    const std::optional<ControlId> focused = focus != nullptr && GetParent(focus) == hwnd_
                                                 ? ControlOfDialogId(GetDlgCtrlID(focus))
                                                 : std::nullopt;
    if (focused && Describe(*focused).kind == ControlKind::Button) {
      dialogId = DialogId(*focused);
    }
  }
  const std::optional<ControlId> id = ControlOfDialogId(dialogId);
  if (!id || host_ == nullptr) {
    return;  // Escape, and Enter elsewhere: the window has no cancel and no other default button
  }
  if (*id == ControlId::cmbMask) {
    if (code == CBN_SELCHANGE) {
      host_->Click(*id);
    } else if (code == CBN_DROPDOWN) {
      FitDroppedWidth();
    }
  } else if (Describe(*id).kind == ControlKind::Button && code == BN_CLICKED) {
    host_->Click(*id);
  }
}

// The keyboard navigation asks the window to move the focus: to a given control, or to the
// next or previous one in tab order. A label takes no focus: the control after it does.
void Form1Window::OnNextControl(WPARAM wParam, LPARAM lParam) {
  HWND target = nullptr;
  if (LOWORD(lParam) != 0) {
    target = reinterpret_cast<HWND>(wParam);
  } else {
    HWND from = labelCursor_ != nullptr ? labelCursor_ : GetFocus();
    target = GetNextDlgTabItem(hwnd_, from, wParam != 0 ? TRUE : FALSE);
  }
  labelCursor_ = nullptr;
  if (target == nullptr || IsChild(hwnd_, target) == FALSE) {
    return;
  }
  if ((SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) != 0) {
    labelCursor_ = target;
    return;
  }
  SetFocus(target);
}

// The colours a control's description asks for, in the system's colours so that a
// high-contrast theme shows them; 0 leaves the control its kind's own.
LRESULT Form1Window::OnControlColour(HDC dc, HWND control) {
  const std::optional<ControlId> id = ControlOfDialogId(GetDlgCtrlID(control));
  if (!id || GetParent(control) != hwnd_) {
    return 0;
  }
  const std::uint32_t flags = Describe(*id).flags;
  const int background = (flags & kWindowColour)   ? COLOR_WINDOW
                         : (flags & kButtonColour) ? COLOR_BTNFACE
                                                   : -1;
  if (background < 0) {
    return 0;
  }
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(background));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

void Form1Window::SaveFocus() {
  if (HWND focus = GetFocus(); focus != nullptr && IsChild(hwnd_, focus) != FALSE) {
    savedFocus_ = focus;
  }
}

// Back to the control that had the focus, or the first that takes it.
void Form1Window::RestoreFocus() {
  HWND target = savedFocus_;
  if (target == nullptr || IsWindow(target) == FALSE || IsChild(hwnd_, target) == FALSE ||
      IsWindowEnabled(target) == FALSE) {
    target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  }
  if (target != nullptr && IsIconic(hwnd_) == FALSE) {
    SetFocus(target);
  }
}

void Form1Window::Open(const std::optional<AddressEntry>& address) {
  host_->Load();
  if (address) {
    host_->EnterAddress(*address);
  }
}

}  // namespace maskora
