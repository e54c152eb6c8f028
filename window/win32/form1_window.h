// The main window on Win32: its 27 controls as the window system's own, and the wiring of
// their messages to Form1's handlers.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include <windows.h>

#include "window/form1.h"
#include "window/win32/win32_controls.h"

namespace maskora {

class Form1Window : private FormWindow, private WheelHook {
 public:
  // Creates the window and its controls, hidden; Load and Show follow.
  Form1Window(HINSTANCE instance, MessageBoxes& dialogs, Runtime& runtime, AddressSources& sources);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // The hook is made once the window exists, since it acts on this window.
  void SetWheelHook(WheelHook* hook) { wheelHook_ = hook; }
  // Whether closing the window ends the thread's message loop (the program's window does).
  void SetQuitOnDestroy(bool quit) { quitOnDestroy_ = quit; }
  // The load event: fills the mask list, computes the first results, hooks the wheel.
  void Load();
  // Shows the window and puts the focus on the first control that takes it.
  void Show(int showCommand);
  // Keyboard navigation among the controls: Tab, access keys. True when it took the message.
  bool TranslateDialogMessage(MSG& message);
  // Runs the thread's message loop until the window is gone; the exit code.
  int RunMessageLoop();

  bool IsUnloaded() const { return unloaded_; }
  HWND hwnd() const { return hwnd_; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  Form1& form() { return *form_; }
  Text cmdSetTag() const { return cmdSet_->Tag(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK OctetProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR index, DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleOctetMessage(HWND edit, std::int16_t index, UINT message, WPARAM wParam,
                             LPARAM lParam);
  void OnCommand(int id, int code);
  void OnNextControl(WPARAM wParam, LPARAM lParam);
  void Unload();

  std::optional<ControlRef> ActiveControl() const override;
  void HookWheel() override;
  void UnhookWheel() override;

  void CreateControls(HINSTANCE instance);
  void CreateToolTips(HINSTANCE instance);
  void ApplyFont();
  int Pixels(int twips) const;

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  bool ownsFont_ = false;
  int dpi_ = 96;
  std::array<std::unique_ptr<Win32TextField>, 4> txtIP_;
  std::array<std::unique_ptr<Win32TextField>, 6> resultFields_;
  std::unique_ptr<Win32DropDownList> cmbMask_;
  std::unique_ptr<Win32PushButton> cmdSet_;
  std::unique_ptr<Form1> form_;
  WheelHook* wheelHook_ = nullptr;
  // Whether the form's focus-gained handler ran for a field without a focus-lost one since:
  // switching to another window, or a message box, neither leaves nor enters the field.
  std::array<bool, 4> entered_{};
  // The control that had the focus when the window was last deactivated.
  HWND savedFocus_ = nullptr;
  // A label whose access key was pressed: the focus goes to the control after it.
  HWND labelCursor_ = nullptr;
  bool unloaded_ = false;
  bool quitOnDestroy_ = true;
};

}  // namespace maskora
