#include "window/win32/form1_window.h"

#include <iterator>

#include <commctrl.h>

#include "window/win32/control_ids.h"
#include "window/win32/win32_runtime.h"
#include "window/win32/win32_wheel_hook.h"

namespace maskora {

namespace {

using namespace win32;

constexpr int kTwipsPerInch = 1440;
constexpr int kClientWidthTwips = 3855;
constexpr int kClientHeightTwips = 2850;
constexpr int kOctetLimit = 3;
constexpr int kIconResource = 1;
// Room for the mask list below the combo box's own field.
constexpr int kDroppedListPixels = 200;
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

enum class Kind { Label, Frame, Dot, Octet, Button, MaskList, Result };

struct Placed {
  int id;
  Kind kind;
  const wchar_t* caption;
  int left, top, width, height;  // twips
};

// In tab order, which is also the order of creation: the window system walks the controls in
// that order for Tab and for the access key of a label.
constexpr Placed kLayout[] = {
    {kIdLblDesc0, Kind::Label, L"&Indirizzo IP:", 60, 120, 915, 255},
    {kIdLabel1, Kind::Frame, L"", 1140, 60, 1365, 315},
    {kIdTxtIP0, Kind::Octet, L"0", 1170, 90, 315, 255},
    {kIdLblDot0, Kind::Dot, L".", 1470, 90, 75, 255},
    {kIdTxtIP0 + 1, Kind::Octet, L"0", 1500, 90, 315, 255},
    {kIdLblDot0 + 1, Kind::Dot, L".", 1800, 90, 75, 255},
    {kIdTxtIP0 + 2, Kind::Octet, L"0", 1830, 90, 315, 255},
    {kIdLblDot0 + 2, Kind::Dot, L".", 2130, 90, 75, 255},
    {kIdTxtIP0 + 3, Kind::Octet, L"0", 2160, 90, 315, 255},
    {kIdCmdGetIpCli, Kind::Button, L"&CLI", 2520, 60, 615, 315},
    {kIdCmdGetIpSrv, Kind::Button, L"&SRV", 3180, 60, 615, 315},
    {kIdLblDesc0 + 1, Kind::Label, L"Subnet &Mask: ", 60, 480, 1035, 255},
    {kIdCmbMask, Kind::MaskList, L"", 1140, 420, 1995, 315},
    {kIdCmdCalc, Kind::Button, L"I&nfo", 3180, 420, 615, 315},
    {kIdLblDesc0 + 5, Kind::Label, L"Stato IP:", 120, 960, 1035, 255},
    {kIdTxtStato, Kind::Result, L"", 1200, 960, 2595, 285},
    {kIdLblDesc0 + 7, Kind::Label, L"Tipo indirizzo:", 120, 1260, 1035, 255},
    {kIdTxtTipo, Kind::Result, L"", 1200, 1260, 2595, 285},
    {kIdLblDesc0 + 6, Kind::Label, L"Classe rete:", 120, 1560, 1035, 255},
    {kIdTxtClasse, Kind::Result, L"", 1200, 1560, 2055, 285},
    {kIdCmdSet, Kind::Button, L"S&et", 3360, 1500, 435, 375},
    {kIdLblDesc0 + 2, Kind::Label, L"Broadcast:", 120, 1860, 1035, 255},
    {kIdTxtBroadcast, Kind::Result, L"", 1200, 1860, 2595, 285},
    {kIdLblDesc0 + 3, Kind::Label, L"Hosts:", 120, 2160, 1035, 255},
    {kIdTxtHosts, Kind::Result, L"", 1200, 2160, 2595, 285},
    {kIdLblDesc0 + 4, Kind::Label, L"Network:", 120, 2460, 1035, 255},
    {kIdTxtNetwork, Kind::Result, L"", 1200, 2460, 2595, 285},
};

struct ToolTip {
  int id;
  const wchar_t* text;
};

constexpr ToolTip kToolTips[] = {
    {kIdCmdGetIpCli, L"Imposta l'indirizzo IP privato di questo PC."},
    {kIdCmdGetIpSrv, L"Imposta l'indirizzo IP pubblico accedendo ad internet."},
};

// Every child clips its siblings, so the stacking order decides what is drawn on top.
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;

struct Made {
  const wchar_t* windowClass;
  DWORD style;
  DWORD exStyle;
};

Made Make(Kind kind) {
  switch (kind) {
    case Kind::Label:
      return {L"STATIC", kChild | SS_LEFTNOWORDWRAP, 0};
    case Kind::Frame:
      return {L"STATIC", kChild | WS_BORDER | SS_NOPREFIX, 0};
    case Kind::Dot:
      return {L"STATIC", kChild | SS_CENTER | SS_NOPREFIX, 0};
    case Kind::Octet:
      return {L"EDIT", kChild | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL, 0};
    case Kind::Button:
      return {L"BUTTON", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::MaskList:
      return {L"COMBOBOX", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case Kind::Result:
      return {L"EDIT", kChild | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", kChild, 0};
}

bool IsOnWindowBackground(int id) {
  return id == kIdLabel1 || (id >= kIdLblDot0 && id < kIdLblDot0 + 3);
}

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

std::int16_t ShiftState() {
  return static_cast<std::int16_t>(((GetKeyState(VK_SHIFT) < 0) ? 1 : 0) |
                                   ((GetKeyState(VK_CONTROL) < 0) ? 2 : 0) |
                                   ((GetKeyState(VK_MENU) < 0) ? 4 : 0));
}

}  // namespace

Form1Window::Form1Window(HINSTANCE instance, MessageBoxes& dialogs, Runtime& runtime,
                         AddressSources& sources) {
  RegisterFormClass(instance, &WindowProc);
  HDC screen = GetDC(nullptr);
  if (screen != nullptr) {
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  RECT frame{0, 0, Pixels(kClientWidthTwips), Pixels(kClientHeightTwips)};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);
  hwnd_ = CreateWindowExW(0, kFormClassName, reinterpret_cast<const wchar_t*>(kCaption), kFormStyle,
                          CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                          frame.bottom - frame.top, nullptr, nullptr, instance, this);
  if (hwnd_ == nullptr) {
    return;
  }
  CreateControls(instance);
  CreateToolTips(instance);
  ApplyFont();

  Form1Controls controls;
  for (std::size_t i = 0; i < txtIP_.size(); ++i) {
    HWND edit = Control(kIdTxtIP0 + static_cast<int>(i));
    txtIP_[i] = std::make_unique<Win32TextField>(edit);
    controls.txtIP[i] = txtIP_[i].get();
    SendMessageW(edit, EM_LIMITTEXT, kOctetLimit, 0);
    SetWindowSubclass(edit, &OctetProc, i, reinterpret_cast<DWORD_PTR>(this));
  }
  const int resultIds[] = {kIdTxtStato,     kIdTxtTipo,  kIdTxtClasse,
                           kIdTxtBroadcast, kIdTxtHosts, kIdTxtNetwork};
  TextField** targets[] = {&controls.txtStato,     &controls.txtTipo,  &controls.txtClasse,
                           &controls.txtBroadcast, &controls.txtHosts, &controls.txtNetwork};
  for (std::size_t i = 0; i < resultFields_.size(); ++i) {
    resultFields_[i] = std::make_unique<Win32TextField>(Control(resultIds[i]));
    *targets[i] = resultFields_[i].get();
  }
  cmbMask_ =
      std::make_unique<Win32DropDownList>(Control(kIdCmbMask), [this] { form_->cmbMask_Click(); });
  controls.cmbMask = cmbMask_.get();
  cmdSet_ = std::make_unique<Win32PushButton>(Control(kIdCmdSet));
  cmdSet_->SetTag(u"0");
  controls.cmdSet = cmdSet_.get();

  form_ = std::make_unique<Form1>(controls, Form1Services{*this, dialogs, runtime, sources, *this});
  AddLoadedForm(hwnd_,
                [this](std::int32_t keys, std::int32_t rotation, std::int32_t x, std::int32_t y) {
                  Dispatch([&] { form_->MouseWheel(keys, rotation, x, y); });
                });
}

Form1Window::~Form1Window() {
  if (IsWindow(hwnd_) != FALSE) {
    const bool quit = quitOnDestroy_;
    quitOnDestroy_ = false;
    Unload();
    DestroyWindow(hwnd_);
    quitOnDestroy_ = quit;
  }
  RemoveLoadedForm(hwnd_);
  if (ownsFont_) {
    DeleteObject(font_);
  }
}

int Form1Window::Pixels(int twips) const {
  return MulDiv(twips, dpi_, kTwipsPerInch);
}

void Form1Window::CreateControls(HINSTANCE instance) {
  for (const Placed& p : kLayout) {
    const Made made = Make(p.kind);
    const int extra = p.kind == Kind::MaskList ? kDroppedListPixels : 0;
    CreateWindowExW(made.exStyle, made.windowClass, p.caption,
                    made.style | (p.id == kIdCmdSet ? WS_DISABLED : 0), Pixels(p.left),
                    Pixels(p.top), Pixels(p.width), Pixels(p.height) + extra, hwnd_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id)), instance, nullptr);
  }
  // The frame of the address lies beneath the fields, the dots above the fields they overlap.
  SetWindowPos(Control(kIdLabel1), HWND_BOTTOM, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (int i = 0; i < 3; ++i) {
    SetWindowPos(Control(kIdLblDot0 + i), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void Form1Window::CreateToolTips(HINSTANCE instance) {
  HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance, nullptr);
  if (tips == nullptr) {
    return;
  }
  for (const ToolTip& tip : kToolTips) {
    TOOLINFOW info{};
    // The size that every version of the common controls accepts.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(Control(tip.id));
    info.lpszText = const_cast<wchar_t*>(tip.text);
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

// The font of the platform's dialogs, for which the layout's twips were measured; the
// message-box font when that one is missing.
void Form1Window::ApplyFont() {
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (font_ == nullptr) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) != FALSE) {
      font_ = CreateFontIndirectW(&metrics.lfMessageFont);
      ownsFont_ = font_ != nullptr;
    }
  }
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
}

void Form1Window::Load() {
  Dispatch([this] { form_->Form_Load(); });
}

void Form1Window::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE); first != nullptr) {
    SetFocus(first);
  }
}

bool Form1Window::TranslateDialogMessage(MSG& message) {
  return IsWindow(hwnd_) != FALSE && IsDialogMessageW(hwnd_, &message) != FALSE;
}

int Form1Window::RunMessageLoop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    DeliverMessage(message, [this](MSG& m) { return TranslateDialogMessage(m); });
  }
  return static_cast<int>(message.wParam);
}

void Form1Window::Unload() {
  if (!unloaded_) {
    unloaded_ = true;
    Dispatch([this] { form_->Form_Unload(); });
  }
}

std::optional<ControlRef> Form1Window::ActiveControl() const {
  HWND focus = GetFocus();
  if (focus == nullptr || IsChild(hwnd_, focus) == FALSE) {
    return std::nullopt;
  }
  // The list of a combo box or the field of an edit belong to their control.
  while (GetParent(focus) != hwnd_) {
    focus = GetParent(focus);
  }
  const int id = GetDlgCtrlID(focus);
  for (const ControlName& c : kControlNames) {
    if (c.id == id) {
      return ControlRef{c.name, c.index};
    }
  }
  return std::nullopt;
}

void Form1Window::HookWheel() {
  if (wheelHook_ != nullptr) {
    wheelHook_->HookWheel();
  }
}

void Form1Window::UnhookWheel() {
  if (wheelHook_ != nullptr) {
    wheelHook_->UnhookWheel();
  }
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
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (IsOnWindowBackground(id)) {
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus != nullptr && IsChild(hwnd_, focus) != FALSE) {
          savedFocus_ = focus;
        }
      } else if (savedFocus_ != nullptr && IsWindow(savedFocus_) != FALSE &&
                 IsWindowEnabled(savedFocus_) != FALSE) {
        SetFocus(savedFocus_);
      } else {
        break;
      }
      return 0;
    case WM_CLOSE:
      Unload();
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      Unload();
      if (quitOnDestroy_) {
        PostQuitMessage(0);
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

void Form1Window::OnCommand(int id, int code) {
  if (id == kIdCmbMask && code == CBN_SELCHANGE) {
    Dispatch([this] { form_->cmbMask_Click(); });
    return;
  }
  if (code != BN_CLICKED) {
    return;
  }
  switch (id) {
    case kIdCmdCalc:
      Dispatch([this] { form_->cmdCalc_Click(); });
      break;
    case kIdCmdSet:
      Dispatch([this] { form_->cmdSet_Click(); });
      break;
    case kIdCmdGetIpCli:
      Dispatch([this] { form_->cmdGetIpCli_Click(); });
      break;
    case kIdCmdGetIpSrv:
      Dispatch([this] { form_->CmdGetIpSrv_Click(); });
      break;
    default:
      break;  // Enter and Escape: the window has no default and no cancel button
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

LRESULT CALLBACK Form1Window::OctetProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR index, DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(edit, &OctetProc, index);
    return DefSubclassProc(edit, message, wParam, lParam);
  }
  return reinterpret_cast<Form1Window*>(self)->HandleOctetMessage(
      edit, static_cast<std::int16_t>(index), message, wParam, lParam);
}

// Feeds an octet field's keys and focus changes to the handlers in the order they rely on:
// key down, character, insertion into this field, key released to the field that has the
// focus by then (the window system delivers it there).
LRESULT Form1Window::HandleOctetMessage(HWND edit, std::int16_t index, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  const auto i = static_cast<std::size_t>(index);
  switch (message) {
    case WM_KEYDOWN: {
      auto keyCode = static_cast<std::int16_t>(wParam);
      const std::int16_t shift = ShiftState();
      Dispatch([&] { form_->txtIP_KeyDown(index, keyCode, shift); });
      if (keyCode == 0) {
        return 0;
      }
      return DefSubclassProc(edit, message, static_cast<std::uint16_t>(keyCode), lParam);
    }
    case WM_CHAR: {
      auto keyAscii = static_cast<std::int16_t>(wParam);
      Dispatch([&] { form_->txtIP_KeyPress(index, keyAscii); });
      if (keyAscii != 0) {
        return DefSubclassProc(edit, message, static_cast<std::uint16_t>(keyAscii), lParam);
      }
      // Ctrl chords arrive as control characters; they still do their editing command
      // (copy, cut, paste, undo), which puts no character into the field.
      if (wParam < 0x20 && GetKeyState(VK_CONTROL) < 0) {
        return DefSubclassProc(edit, message, wParam, lParam);
      }
      return 0;
    }
    case WM_KEYUP: {
      auto keyCode = static_cast<std::int16_t>(wParam);
      const std::int16_t shift = ShiftState();
      Dispatch([&] { form_->txtIP_KeyUp(index, keyCode, shift); });
      return DefSubclassProc(edit, message, wParam, lParam);
    }
    case WM_SETFOCUS: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      if (!entered_[i]) {
        entered_[i] = true;
        Dispatch([&] { form_->txtIP_GotFocus(index); });
      }
      return result;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = DefSubclassProc(edit, message, wParam, lParam);
      // Only a move to another control of this window leaves the field.
      const auto next = reinterpret_cast<HWND>(wParam);
      if (entered_[i] && next != nullptr && IsChild(hwnd_, next) != FALSE) {
        entered_[i] = false;
        Dispatch([&] { form_->txtIP_LostFocus(index); });
      }
      return result;
    }
    case WM_MOUSEWHEEL:
      // A single-line field has no use for the wheel; not every edit control hands it on to
      // its parent by itself, where the wheel hook waits for it.
      return SendMessageW(hwnd_, message, wParam, lParam);
    default:
      return DefSubclassProc(edit, message, wParam, lParam);
  }
}

}  // namespace maskora
