// SPDX-License-Identifier: MIT
// The main window on Win32: its 27 controls made from the window's description as the window
// system's own, at the window's DPI, and their messages reported to the host of the handlers.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include <windows.h>

#include "address/address.h"
#include "window/form1_description.h"
#include "window/form1_host.h"
#include "window/win32/control_ids.h"
#include "window/win32/win32_controls.h"
#include "window/win32/win32_message_boxes.h"
#include "window/win32/win32_wheel_hook.h"

namespace maskora {

namespace win32 {
// The DPI of the window's monitor where the system tells it (Windows 10 from 1607), the
// system's otherwise.
int WindowDpi(HWND window);
}  // namespace win32

class Form1Window : public Form1Binding {
 public:
  // Creates the window, its controls, the wheel hook and the host, hidden and not yet loaded.
  // dialogs: where the handlers' messages go; the window's own message boxes when none.
  Form1Window(HINSTANCE instance, ToolkitRuntime& runtime, AddressSources& sources,
              MessageBoxes* dialogs = nullptr);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // The load event (the mask list filled, the first results shown, the wheel hooked), then the
  // address filled in when one is given. The window stays hidden until shown.
  void Open(const std::optional<AddressEntry>& address = std::nullopt);
  // Shows the window and puts the focus on the first control that takes it.
  void Show(int showCommand);
  // Runs the thread's message loop until the window is gone.
  void RunMessageLoop();

  Form1Host& host() { return *host_; }
  HWND hwnd() const { return hwnd_; }
  HWND Control(ControlId id) const { return GetDlgItem(hwnd_, win32::DialogId(id)); }
  int Dpi() const { return dpi_; }

  TextField& Field(ControlId id) override { return *fields_[static_cast<std::size_t>(id)]; }
  DropDownList& MaskList() override { return *maskList_; }
  PushButton& SetButton() override { return *setButton_; }
  std::optional<ControlId> ActiveControl() const override;
  void Beep() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK OctetProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR index, DWORD_PTR self);
  static LRESULT CALLBACK MaskListProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self);
  static LRESULT CALLBACK ResultFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR self);
  static LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleOctetMessage(HWND edit, int index, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMaskListMessage(HWND combo, UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code);
  void OnNextControl(WPARAM wParam, LPARAM lParam);
  LRESULT OnControlColour(HDC dc, HWND control);
  void SaveFocus();
  void RestoreFocus();

  // Made in tab order, which is also the order the window system walks for Tab and for the
  // access key of a label.
  void CreateControls(HINSTANCE instance);
  void CreateToolTips(HINSTANCE instance);
  // Places, font and margins of every control at the given DPI.
  void Layout(int dpi);
  // The window's font on every control, with what depends on it.
  void ApplyFont();
  SIZE TextRoom(const ControlDescription& d) const;
  // The system's dialog font at the largest size at which every text fits its control.
  void FitFont(int dpi);
  // Whether every text that a control can show fits it in the window's font.
  bool EveryTextFits() const;
  // Each label on the text line of the field that it names.
  void AlignLabels();
  // The dropped mask list as wide as its longest entry.
  void FitDroppedWidth();
  // Sizes the frame around the client area of the description, at the given place if any.
  void FitFrame(const RECT* place);

  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  HFONT font_ = nullptr;
  std::array<std::unique_ptr<Win32TextField>, kControlCount> fields_;
  std::unique_ptr<Win32DropDownList> maskList_;
  std::unique_ptr<Win32PushButton> setButton_;
  std::unique_ptr<Win32MessageBoxes> ownDialogs_;
  std::unique_ptr<Win32WheelHook> wheelHook_;
  // Last, so that it goes first: no handler outlives the controls it acts on.
  std::unique_ptr<Form1Host> host_;
  // The control that had the focus when the window was last deactivated or minimized.
  HWND savedFocus_ = nullptr;
  // A label whose access key was pressed: the focus goes to the control after it.
  HWND labelCursor_ = nullptr;
  // How many octet field key messages are being handled: their edits are computed at the
  // key's release.
  int inKey_ = 0;
  // A wheel message on its way from the window to the focused mask list.
  bool wheelToList_ = false;
};

}  // namespace maskora
