// A real Win32 main window, shown and in front, with scripted address sources and message
// boxes, and keystrokes that go through the window system's input queue.
#pragma once

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include "tests/window/stand_ins.h"
#include "window/win32/control_ids.h"
#include "window/win32/form1_window.h"
#include "window/win32/win32_controls.h"
#include "window/win32/win32_message_boxes.h"
#include "window/win32/win32_runtime.h"
#include "window/win32/win32_wheel_hook.h"

namespace maskora::testing {

using namespace win32;

// Keys that are no characters, written into a key string as one character each.
#define KEY_BACK u"\uE008"
#define KEY_TAB u"\uE009"
#define KEY_LEFT u"\uE025"
#define KEY_UP u"\uE026"
#define KEY_RIGHT u"\uE027"
#define KEY_DOWN u"\uE028"

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  HWND Control(int id) const { return window_.Control(id); }
  HWND Octet(int i) const { return Control(kIdTxtIP0 + i); }
  Text TextOf(int id) const { return WindowText(Control(id)); }
  std::array<Text, 4> Octets() const;
  void SetOctets(const std::array<Text, 4>& texts);
  // The id of the control that has the focus, 0 for none of the window's.
  int FocusedId() const;
  std::pair<int, int> Selection(int id) const;

  // Handles everything that the window system has queued, waiting briefly for stragglers.
  void Pump();
  // Presses and releases each key in turn; KEY_* stand for keys that are no characters.
  void Type(const std::u16string& keys);
  void KeyDown(WORD vk);
  void KeyUp(WORD vk);
  // A key with Alt held: the access key of a control.
  void AltKey(char letter);

  RecordingBoxes boxes_;
  ScriptedSources sources_;
  Win32Runtime runtime_;
  Form1Window window_;
  Win32WheelHook hook_;
};

}  // namespace maskora::testing
