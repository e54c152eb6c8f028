// SPDX-License-Identifier: MIT
// Edits of the octet fields that no key makes (the field's context menu and the messages that
// it sends) compute at once; a key's edits wait for its release; a clipboard text longer than
// any address is refused whole.
#include "core/text.h"
#include "tests/win32/window_fixture.h"

namespace maskora::testing {
namespace {

class OctetEdits : public WindowTest {
 protected:
  // The second field holds 12 of 1.12.3.4, wholly selected, and the results show it.
  void Start() {
    Prepare({u"1", u"12", u"3", u"4"}, 1, 0, 2);
    window_.host().Click(ControlId::cmbMask);
  }
  void SelectAll() { SendMessageW(Octet(1), EM_SETSEL, 0, -1); }
  Text Network() const { return TextOf(ControlId::txtNetwork); }
};

// Each step: the access key of a menu entry, or a message sent straight to the field.
TEST_F(OctetEdits, TheMenusEditsComputeAtOnce) {
  const struct {
    const char* what;
    char16_t menuKey;  // 0: send the message instead
    UINT message;
    bool selectAll;
    Text field;
    Text network;
  } steps[] = {
      {"the menu's Paste", u'p', 0, true, u"90", u"1.90.3.0"},
      {"the menu's Undo", u'u', 0, false, u"12", u"1.12.3.0"},
      {"the menu's Cut", u't', 0, true, u"", u"1.0.3.0"},
      {"the menu's Undo after Cut", u'u', 0, false, u"12", u"1.12.3.0"},
      {"the menu's Delete", u'd', 0, true, u"", u"1.0.3.0"},
      {"WM_PASTE", 0, WM_PASTE, true, u"90", u"1.90.3.0"},
      {"EM_UNDO", 0, EM_UNDO, false, u"12", u"1.12.3.0"},
      {"WM_UNDO, which undoes the undo", 0, WM_UNDO, false, u"90", u"1.90.3.0"},
  };
  for (const auto& step : steps) {
    // A paste starts over from 12, with nothing to undo.
    if (step.menuKey == u'p' || step.message == WM_PASTE) {
      Start();
    }
    PutOnClipboard(window_.hwnd(), u"90");
    if (step.selectAll) {
      SelectAll();
    }
    if (step.menuKey != 0) {
      ChooseFromMenu(Octet(1), step.menuKey);
    } else {
      SendMessageW(Octet(1), step.message, 0, 0);
      Pump();
    }
    EXPECT_EQ(WindowText(Octet(1)), step.field) << step.what;
    EXPECT_EQ(Network(), step.network) << step.what;
  }
}

TEST_F(OctetEdits, AKeysEditsWaitForItsRelease) {
  const struct {
    const char* what;
    bool ctrl;
    WORD vk;
  } cases[] = {{"a digit", false, '9'}, {"Ctrl+V", true, 'V'}};
  for (const auto& c : cases) {
    PutOnClipboard(window_.hwnd(), u"9");
    Start();
    SendMessageW(Octet(1), EM_SETSEL, 1, 2);
    if (c.ctrl) {
      KeyDown(VK_CONTROL);
    }
    KeyDown(c.vk);
    EXPECT_EQ(WindowText(Octet(1)), u"19") << c.what;
    EXPECT_EQ(Network(), u"1.12.3.0") << c.what;
    KeyUp(c.vk);
    if (c.ctrl) {
      KeyUp(VK_CONTROL);
    }
    EXPECT_EQ(Network(), u"1.19.3.0") << c.what;
  }
}

// Only as much of the clipboard is read as tells that it is no address.
TEST_F(OctetEdits, TextsLongerThanAnyAddressAreRefusedWhole) {
  const struct {
    const char* what;
    Text clipboard;
    Octets after;
    int beeps;
  } cases[] = {
      {"an address with all the blanks there is room for",
       Text(kLongestAddressText - 7, u' ') + u"9.8.7.6",
       {u"9", u"8", u"7", u"6"},
       0},
      {"one character more", Text(kLongestAddressText + 1, u'9'), {u"1", u"12", u"3", u"4"}, 1},
      {"ten million digits", Text(10'000'000, u'9'), {u"1", u"12", u"3", u"4"}, 1},
  };
  for (const auto& c : cases) {
    PutOnClipboard(window_.hwnd(), c.clipboard);
    Start();
    const int beeps = window_.beeps;
    CtrlKey(u'v');
    EXPECT_EQ(OctetTexts(), c.after) << c.what;
    EXPECT_EQ(window_.beeps - beeps, c.beeps) << c.what;
  }
}

}  // namespace
}  // namespace maskora::testing
