// SPDX-License-Identifier: MIT
// A real Win32 main window, shown and in front, with scripted address sources and message
// boxes, and keystrokes that go through the window system's input queue.
#pragma once

#include <array>
#include <optional>
#include <string>

#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "tests/window/key_table.h"
#include "tests/window/stand_ins.h"
#include "window/win32/form1_window.h"
#include "window/win32/win32_controls.h"
#include "window/win32/win32_message_boxes.h"
#include "window/win32/win32_runtime.h"

namespace maskora::testing {

// The window, counting the warning sounds that the handlers ask for.
class BeepingWindow : public Form1Window {
 public:
  using Form1Window::Form1Window;
  void Beep() override {
    ++beeps;
    Form1Window::Beep();
  }
  int beeps = 0;
};

// Puts a text on the clipboard, as another program would.
void PutOnClipboard(HWND owner, const Text& text);

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  HWND Control(ControlId id) const { return window_.Control(id); }
  HWND Octet(int i) const { return Control(OctetId(i)); }
  Text TextOf(ControlId id) const { return WindowText(Control(id)); }
  Octets OctetTexts() const;
  void SetOctets(const Octets& texts);
  int MaskIndex() const;
  // The control that has the focus, none when no control of the window has it.
  std::optional<ControlId> Focused() const;
  // Texts in, and the focus into one field with the given selection, as a user who clicked
  // there would have it.
  void Prepare(const Octets& texts, int field, int selStart, int selLength);

  // Handles everything that the window system has queued, waiting briefly for stragglers, and
  // for a little while at most.
  void Pump();
  // Presses and releases each key in turn: characters, Backspace, Enter, Escape, Tab and the
  // arrows of the key table.
  void Type(std::u16string_view keys);
  void KeyDown(WORD vk);
  void KeyUp(WORD vk);
  // A key with Alt held: the access key of a control.
  void AltKey(char16_t key);
  // A key with Ctrl held.
  void CtrlKey(char16_t key);
  // One wheel notch (WHEEL_DELTA, positive away from the user) with the pointer at a point of
  // the screen.
  void Notch(POINT at, int rotation);
  // Opens a control's context menu and chooses the entry of an access key, without a key.
  void ChooseFromMenu(HWND control, char16_t accessKey);

  RecordingBoxes boxes_;
  ScriptedSources sources_;
  Win32Runtime runtime_;
  BeepingWindow window_;
};

}  // namespace maskora::testing
