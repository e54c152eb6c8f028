// Keystrokes in the octet fields, through the window system's input queue and dialog
// navigation, as a user types them.
#include <ostream>

#include "tests/win32/window_fixture.h"

namespace maskora::testing {
namespace {

constexpr int kWhole = -1;  // the whole text selected, as entering a field leaves it

struct KeysCase {
  const char* name;
  std::array<Text, 4> before;
  int field;     // that has the focus
  int selStart;  // or kWhole
  int selLength;
  std::u16string keys;
  std::array<Text, 4> after;
  int focusAfter;  // octet index, or a control id from 100 up
};

void PrintTo(const KeysCase& c, std::ostream* out) {
  *out << c.name;
}

class OctetKeysTest : public WindowTest, public ::testing::WithParamInterface<KeysCase> {};

TEST_P(OctetKeysTest, TextsAndFocus) {
  const KeysCase& c = GetParam();
  // Entered from another control, so that the field's text is wholly selected.
  SetFocus(Control(kIdCmbMask));
  SetOctets(c.before);
  SetFocus(Octet(c.field));
  Pump();
  if (c.selStart != kWhole) {
    SendMessageW(Octet(c.field), EM_SETSEL, static_cast<WPARAM>(c.selStart),
                 c.selStart + c.selLength);
  }
  Type(c.keys);
  EXPECT_EQ(Octets(), c.after);
  EXPECT_EQ(FocusedId(), c.focusAfter < 4 ? kIdTxtIP0 + c.focusAfter : c.focusAfter);
}

const KeysCase kKeysCases[] = {
    {"ThirdDigitStaysAndMovesOn",
     {u"19", u"0", u"0", u"0"},
     0,
     2,
     0,
     u"2",
     {u"192", u"0", u"0", u"0"},
     1},
    {"AdvanceIgnoresTheCaret",
     {u"0", u"12", u"0", u"0"},
     1,
     0,
     0,
     u"1",
     {u"0", u"112", u"0", u"0"},
     2},
    {"LetterMovesOnAndIsDiscarded",
     {u"0", u"12", u"0", u"0"},
     1,
     2,
     0,
     u"a",
     {u"0", u"12", u"0", u"0"},
     2},
    {"DigitReplacesTheSelection",
     {u"0", u"0", u"12", u"0"},
     2,
     1,
     1,
     u"5",
     {u"0", u"0", u"15", u"0"},
     2},
    {"DotMovesOn", {u"1", u"0", u"0", u"0"}, 0, 1, 0, u".", {u"1", u"0", u"0", u"0"}, 1},
    {"DotInTheLastFieldIsDiscarded",
     {u"0", u"0", u"0", u"1"},
     3,
     1,
     0,
     u".",
     {u"0", u"0", u"0", u"1"},
     3},
    {"BackspaceInAnEmptyFieldMovesBack",
     {u"0", u"7", u"", u"0"},
     2,
     kWhole,
     0,
     KEY_BACK,
     {u"0", u"7", u"0", u"0"},
     1},
    {"BackspaceInTheFirstFieldDeletes",
     {u"12", u"0", u"0", u"0"},
     0,
     2,
     0,
     KEY_BACK,
     {u"1", u"0", u"0", u"0"},
     0},
    {"LeftAtTheStartMovesBack",
     {u"0", u"5", u"0", u"0"},
     1,
     0,
     0,
     KEY_LEFT,
     {u"0", u"5", u"0", u"0"},
     0},
    {"LeftOnAWholeSelectionStays",
     {u"0", u"5", u"0", u"0"},
     1,
     kWhole,
     0,
     KEY_LEFT,
     {u"0", u"5", u"0", u"0"},
     1},
    {"RightAtTheEndMovesOn",
     {u"5", u"0", u"0", u"0"},
     0,
     1,
     0,
     KEY_RIGHT,
     {u"5", u"0", u"0", u"0"},
     1},
    {"UpStopsAt255",
     {u"254", u"0", u"0", u"0"},
     0,
     kWhole,
     0,
     KEY_UP KEY_UP,
     {u"255", u"0", u"0", u"0"},
     0},
    {"DownStopsAt0",
     {u"0", u"1", u"0", u"0"},
     1,
     kWhole,
     0,
     KEY_DOWN KEY_DOWN,
     {u"0", u"0", u"0", u"0"},
     1},
    {"UpReadsLeadingZeros",
     {u"0", u"0", u"007", u"0"},
     2,
     kWhole,
     0,
     KEY_UP,
     {u"0", u"0", u"8", u"0"},
     2},
    {"LastFieldTakesThreeDigits",
     {u"0", u"0", u"0", u"0"},
     3,
     kWhole,
     0,
     u"9999",
     {u"0", u"0", u"0", u"999"},
     3},
    {"LeavingCorrectsTo255",
     {u"0", u"0", u"0", u"0"},
     3,
     kWhole,
     0,
     u"999" KEY_TAB,
     {u"0", u"0", u"0", u"255"},
     kIdCmdGetIpCli},
    {"LeavingAnEmptyFieldGives0",
     {u"0", u"0", u"0", u"0"},
     1,
     kWhole,
     0,
     KEY_BACK KEY_TAB,
     {u"0", u"0", u"0", u"0"},
     2},
    {"DottedAddress",
     {u"0", u"0", u"0", u"0"},
     0,
     kWhole,
     0,
     u"192.168.1.10",
     {u"192", u"168", u"1", u"10"},
     3},
    {"ShortDottedAddress",
     {u"0", u"0", u"0", u"0"},
     0,
     kWhole,
     0,
     u"10.1.2.3",
     {u"10", u"1", u"2", u"3"},
     3},
};

INSTANTIATE_TEST_SUITE_P(Typing, OctetKeysTest, ::testing::ValuesIn(kKeysCases),
                         [](const ::testing::TestParamInfo<KeysCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace maskora::testing
