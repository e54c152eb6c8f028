// SPDX-License-Identifier: MIT
// Keys in the octet fields through the window system's input queue and dialog navigation: a
// few rows of the key table, to confirm that key down, character, insertion and key released
// reach the handlers in their order, and what the window system adds (Alt chords, Enter and
// Escape that the dialog navigation would take, "/" going on to the mask list).
#include <cctype>

#include "core/text.h"
#include "tests/win32/window_fixture.h"

namespace maskora::testing {
namespace {

class KeyRowTest : public WindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(KeyRowTest, TypedThroughTheInputQueue) {
  const KeyCase& row = KeyRow(GetParam());
  Prepare(row.before, row.field, row.selStart, row.selLength);
  Type(row.keys);
  EXPECT_EQ(OctetTexts(), row.after);
  EXPECT_EQ(Focused(), row.focus);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeyRowTest,
                         ::testing::Values("a dotted address from the first field",
                                           "the next field's whole text is replaced",
                                           "a letter in a full field advances and is discarded",
                                           "Backspace in an empty field steps back",
                                           "Left at the start moves back",
                                           "Right at the end moves on", "Up on 007 gives 8",
                                           "999 in the last field becomes 255 when left",
                                           "a slash goes on to the mask list",
                                           "Enter is a character like any other",
                                           "Escape is a character like any other"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name;
                           for (const char c : std::string(info.param)) {
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

// An Alt chord is never a character of the field, also when it is no active access key: "S&et"
// is disabled for a multicast address.
TEST_F(WindowTest, AltChordsNeverTypeIntoAField) {
  Prepare({u"224", u"0", u"0", u"1"}, 1, 1, 0);
  window_.host().Click(ControlId::cmbMask);
  ASSERT_EQ(IsWindowEnabled(Control(ControlId::cmdSet)), FALSE);
  for (const char16_t key : std::u16string_view(u"ex.7")) {
    AltKey(key);
  }
  EXPECT_EQ(OctetTexts(), (Octets{u"224", u"0", u"0", u"1"}));
  EXPECT_EQ(Focused(), ControlId::txtIP1);
}

// After "/" the digits typed go to the mask list's own character handling.
TEST_F(WindowTest, SlashThenDigitsPickTheMask) {
  Prepare({u"10", u"0", u"0", u"0"}, 3, 1, 0);
  Type(u"/24");
  EXPECT_EQ(MaskIndex(), 8);
  Prepare({u"10", u"0", u"0", u"0"}, 3, 1, 0);
  Type(u"/8");
  EXPECT_EQ(MaskIndex(), 24);
  EXPECT_EQ(TextOf(ControlId::txtHosts), u"16.777.214");
  EXPECT_EQ(Focused(), ControlId::cmbMask);
}

// Ctrl+V in a field: a whole address fills the window, a malformed one beeps and changes
// nothing, anything else is the field's own paste within its three characters.
TEST_F(WindowTest, PastesGoToTheHandlersFirst) {
  const struct {
    Text clipboard;
    Octets after;
    int mask;
    int beeps;
  } cases[] = {
      {u" 10.1.2.3/8\r\n", {u"10", u"1", u"2", u"3"}, 24, 0},
      {u"10.1.2.300", {u"7", u"7", u"7", u"7"}, 12, 1},
      {u"12345", {u"7", u"7", u"123", u"7"}, 12, 0},
      {u"9", {u"7", u"7", u"79", u"7"}, 12, 0},
  };
  for (const auto& c : cases) {
    Prepare({u"7", u"7", u"7", u"7"}, 2, 1, 0);
    SendMessageW(Control(ControlId::cmbMask), CB_SETCURSEL, 12, 0);
    if (c.clipboard == u"12345") {
      SendMessageW(Octet(2), EM_SETSEL, 0, -1);
    }
    PutOnClipboard(window_.hwnd(), c.clipboard);
    const int beeps = window_.beeps;
    CtrlKey(u'v');
    EXPECT_EQ(OctetTexts(), c.after) << Narrow(c.clipboard);
    EXPECT_EQ(MaskIndex(), c.mask) << Narrow(c.clipboard);
    EXPECT_EQ(window_.beeps - beeps, c.beeps) << Narrow(c.clipboard);
  }
}

// Shift+Insert is the other paste chord: it offers the clipboard to the handlers as Ctrl+V does.
TEST_F(WindowTest, ShiftInsertPastesAsCtrlVDoes) {
  const struct {
    Text clipboard;
    Octets after;
    int beeps;
  } cases[] = {
      {u"10.1.2.3/8", {u"10", u"1", u"2", u"3"}, 0},
      {u"10.1.2.300", {u"7", u"7", u"7", u"7"}, 1},
      {u"9", {u"7", u"7", u"79", u"7"}, 0},
  };
  for (const auto& c : cases) {
    Prepare({u"7", u"7", u"7", u"7"}, 2, 1, 0);
    PutOnClipboard(window_.hwnd(), c.clipboard);
    const int beeps = window_.beeps;
    KeyDown(VK_SHIFT);
    KeyDown(VK_INSERT);
    KeyUp(VK_INSERT);
    KeyUp(VK_SHIFT);
    EXPECT_EQ(OctetTexts(), c.after) << Narrow(c.clipboard);
    EXPECT_EQ(window_.beeps - beeps, c.beeps) << Narrow(c.clipboard);
  }
}

// Digits typed into the focused mask list pick a prefix, two digits at most, also without a "/"
// before them; any other character and leaving the list end one.
TEST_F(WindowTest, DigitsTypedIntoTheMaskListPickThePrefix) {
  SetOctets({u"10", u"0", u"0", u"0"});
  SetFocus(Control(ControlId::cmbMask));
  Pump();
  const struct {
    std::u16string keys;
    int mask;
  } cases[] = {{u"24", 8}, {u"8", 24}, {u"168", 24}, {u"33", 29}, {u"2x4", 28}};
  for (const auto& c : cases) {
    Type(c.keys);
    EXPECT_EQ(MaskIndex(), c.mask) << Narrow(c.keys);
    Type(u"x");
  }
  EXPECT_EQ(TextOf(ControlId::txtHosts), u"268.435.454");
  Type(u"1");
  SetFocus(Octet(0));
  SetFocus(Control(ControlId::cmbMask));
  Pump();
  Type(u"6");
  EXPECT_EQ(MaskIndex(), 26);
  EXPECT_EQ(Focused(), ControlId::cmbMask);
}

}  // namespace
}  // namespace maskora::testing
