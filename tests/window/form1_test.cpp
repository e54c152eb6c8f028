// SPDX-License-Identifier: MIT
// Form1's decisions, once, on fake controls: start-up, the mask list and the class button, the
// octet fields' keys and focus rules, pastes, the address buttons and the wheel. The bindings'
// own tests only confirm that real toolkit events arrive here in the same order.
#include <memory>

#include <gtest/gtest.h>

#include "core/version.h"
#include "tests/window/fake_window.h"
#include "tests/window/key_table.h"

namespace maskora::testing {
namespace {

using Results = std::array<Text, 6>;

Results ResultsOf(FakeWindow& w) {
  return {w.Result(ControlId::txtStato).text,  w.Result(ControlId::txtTipo).text,
          w.Result(ControlId::txtClasse).text, w.Result(ControlId::txtBroadcast).text,
          w.Result(ControlId::txtHosts).text,  w.Result(ControlId::txtNetwork).text};
}

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override {
    w.host.Load();
    w.Focus(ControlId::txtIP0);
  }
  // Puts the texts in and the focus into one field with the given selection, as a user who
  // clicked there would have it.
  void Prepare(const Octets& texts, int field, int selStart, int selLength) {
    w.Focus(ControlId::cmdCalc);
    w.SetOctets(texts);
    w.Focus(OctetId(field));
    w.Octet(field).start = selStart;
    w.Octet(field).length = selLength;
  }

  FakeServices services;
  FakeWindow w{services};
};

TEST_F(Form1Test, OpensOnZeroAddressWithSlash24) {
  EXPECT_EQ(w.list.items.size(), 33u);
  EXPECT_EQ(w.list.items[0], u"(32) 255.255.255.255");
  EXPECT_EQ(w.list.items[8], u"(24) 255.255.255.0");
  EXPECT_EQ(w.list.items[22], u"(10) 255.192.0.0");
  EXPECT_EQ(w.list.items[23], u"( 9 ) 255.128.0.0");
  EXPECT_EQ(w.list.items[31], u"( 1 ) 128.0.0.0");
  EXPECT_EQ(w.list.items[32], u"( 0 ) 0.0.0.0");
  EXPECT_EQ(w.list.index, 8);
  EXPECT_EQ(w.Octets(), (Octets{u"0", u"0", u"0", u"0"}));
  EXPECT_EQ(ResultsOf(w), (Results{u"NON VALIDO: IP = Network!", u"Indirizzi ZERO (riservati)",
                                   u"A - ( 8 ) 255.0.0.0", u"0.0.0.255", u"254", u"0.0.0.0"}));
  EXPECT_EQ(w.Calculations(), 1);
  EXPECT_TRUE(w.button.enabled);
  EXPECT_EQ(w.button.tag, u"24");
  EXPECT_EQ(w.hook.calls, std::vector<std::string>{"HookWheel"});
}

TEST_F(Form1Test, EveryMaskChangeRewritesAllResults) {
  w.SetOctets({u"10", u"0", u"0", u"5"});
  const struct {
    int mask;
    Results results;
  } cases[] = {
      {1,
       {u"NON VALIDO: IP = Broadcast!", u"Privato", u"A - ( 8 ) 255.0.0.0", u"10.0.0.5",
        u"Mask non valida", u"10.0.0.4"}},
      {0, {u"Host singolo", u"Privato", u"A - ( 8 ) 255.0.0.0", u"10.0.0.5", u"1", u"10.0.0.5"}},
      {32,
       {u"Valido", u"Privato", u"A - ( 8 ) 255.0.0.0", u"255.255.255.255", u"Tutta internet!",
        u"0.0.0.0"}},
      {24,
       {u"Valido", u"Privato", u"A - ( 8 ) 255.0.0.0", u"10.255.255.255", u"16.777.214",
        u"10.0.0.0"}},
  };
  for (const auto& c : cases) {
    const int before = w.Calculations();
    w.list.Select(c.mask);
    EXPECT_EQ(ResultsOf(w), c.results) << c.mask;
    EXPECT_EQ(w.Calculations(), before + 1) << c.mask;
  }
}

TEST_F(Form1Test, ClassButtonSelectsTheDefaultMaskOfClassesAToC) {
  const struct {
    Octets octets;
    bool enabled;
    Text tag;
  } cases[] = {
      {{u"10", u"1", u"2", u"3"}, true, u"24"},   {{u"172", u"20", u"1", u"1"}, true, u"16"},
      {{u"192", u"168", u"1", u"1"}, true, u"8"}, {{u"224", u"0", u"0", u"1"}, false, u"8"},
      {{u"240", u"0", u"0", u"1"}, false, u"8"},  {{u"10", u"0", u"0", u"1"}, true, u"24"},
  };
  for (const auto& c : cases) {
    w.SetOctets(c.octets);
    w.list.Select(w.list.index == 9 ? 10 : 9);
    EXPECT_EQ(w.button.enabled, c.enabled) << Narrow(c.octets[0]);
    EXPECT_EQ(w.button.tag, c.tag) << Narrow(c.octets[0]);
    if (c.enabled) {
      w.host.Click(ControlId::cmdSet);
      EXPECT_EQ(w.list.index, std::stoi(std::string(c.tag.begin(), c.tag.end())));
    }
  }
  // Already on the class's mask: the click changes nothing and computes nothing.
  const int before = w.Calculations();
  w.host.Click(ControlId::cmdSet);
  EXPECT_EQ(w.Calculations(), before);
}

TEST_F(Form1Test, AboutBoxNamesTheVersion) {
  w.host.Click(ControlId::cmdCalc);
  ASSERT_EQ(w.boxes.shown.size(), 1u);
  const Text version(kVersion, kVersion + std::char_traits<char>::length(kVersion));
  EXPECT_EQ(w.boxes.shown[0].text.substr(0, 10 + version.size()), u"Maskora " + version + u"\n\n");
  EXPECT_EQ(w.boxes.shown[0].icon, MessageIcon::Information);
  EXPECT_EQ(w.boxes.shown[0].title, u"Maskora");
}

class KeyTable : public Form1Test, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTable, TypingMovesFocusAndEditsAsSpecified) {
  const KeyCase& c = GetParam();
  Prepare(c.before, c.field, c.selStart, c.selLength);
  const int before = w.Calculations();
  w.Type(c.keys);
  EXPECT_EQ(w.Octets(), c.after);
  EXPECT_EQ(w.focus, c.focus);
  EXPECT_EQ(w.Calculations() - before, c.calculations);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyTable, ::testing::ValuesIn(kKeyTable));

// What the octet fields turn a text into when they are left.
TEST_F(Form1Test, LeavingAFieldCorrectsItsText) {
  const struct {
    Text text, after;
  } cases[] = {
      {u"", u"0"},      {u"-5", u"0"},    {u"300", u"255"}, {u"007", u"007"}, {u"1.5", u"1.5"},
      {u"255", u"255"}, {u"256", u"255"}, {u"12a", u"12"},  {u"abc", u"0"},   {u"9E9", u"255"},
      {u"-1x", u"0"},   {u" 7 ", u" 7 "}, {u"2e2", u"2e2"}, {u"2e", u"2"},
  };
  for (const auto& c : cases) {
    Prepare(kZeros, 1, 0, 0);
    w.Octet(1).text = c.text;
    w.Focus(ControlId::cmdCalc);
    EXPECT_EQ(w.Octet(1).text, c.after) << "'" << Narrow(c.text) << "'";
  }
}

TEST_F(Form1Test, FocusRulesRunOnlyForMovesWithinTheWindow) {
  Prepare({u"1", u"", u"3", u"4"}, 1, 0, 0);
  w.host.OctetFocusOut(1, false);  // another window, a menu or a message box
  EXPECT_EQ(w.Octet(1).text, u"");
  w.Octet(1).text = u"12";
  w.Octet(1).start = 1;
  w.host.OctetFocusIn(1);  // back from there: the selection stays
  EXPECT_EQ(w.Octet(1).start, 1);
  EXPECT_EQ(w.Octet(1).length, 0);
  w.Focus(ControlId::cmdCalc);
  w.Focus(ControlId::txtIP1);
  EXPECT_EQ(w.Octet(1).start, 0);
  EXPECT_EQ(w.Octet(1).length, 2);
}

// Digits typed into the mask list pick a prefix, after a "/" in an octet field or with the list
// focused by any other way.
TEST_F(Form1Test, DigitsTypedIntoTheMaskListPickThePrefix) {
  const struct {
    std::u16string keys;
    int mask;
  } cases[] = {
      {u"24", 8},   {u"8", 24},    {u"0", 32}, {u"32", 0}, {u"33", 29},  // 33 is none: /3 stays
      {u"2x4", 28},                 // anything but a digit ends a prefix
      {u"168", 24}, {u"032", 30},   // two digits at most, then the next prefix
      {u"332", 30}, {u"4521", 11},  // the digit refused ends the prefix too
      {u"x", 12},                   // the list's own business
  };
  for (const bool slash : {true, false}) {
    for (const auto& c : cases) {
      // Appended, not summed: g++ 12 at -O3 warns falsely (-Wrestrict) on the sum.
      std::string label = slash ? "/" : "";
      label += Narrow(c.keys);
      Prepare({u"10", u"0", u"0", u"0"}, 3, 1, 0);
      w.list.Select(12);
      if (slash) {
        w.Type(u"/");
      } else {
        w.Focus(ControlId::cmbMask);
      }
      for (const char16_t key : c.keys) {
        const bool digit = key >= u'0' && key <= u'9';
        // A digit never reaches the list's own search; any other character does.
        EXPECT_EQ(w.host.MaskListCharacter(key), digit ? 0 : key) << label;
      }
      EXPECT_EQ(w.list.index, c.mask) << label;
      EXPECT_EQ(w.focus, ControlId::cmbMask) << label;
    }
  }
  // Leaving the list ends a prefix.
  Prepare(kZeros, 3, 1, 0);
  w.Type(u"/1");
  w.Focus(ControlId::cmdCalc);
  w.Focus(ControlId::cmbMask);
  w.Type(u"6");
  EXPECT_EQ(w.list.index, 26);
  EXPECT_EQ(w.Result(ControlId::txtHosts).text, u"67.108.862");
}

TEST_F(Form1Test, PastedWholeAddressesFillEveryFieldOnce) {
  const struct {
    Text text;
    bool taken;
    Octets octets;
    int mask;
    int beeps;
  } cases[] = {
      {u"192.168.1.10", true, {u"192", u"168", u"1", u"10"}, 12, 0},
      {u"  10.1.2.3/8\r\n", true, {u"10", u"1", u"2", u"3"}, 24, 0},
      {u"10.1.2.3/255.0.0.0", true, {u"10", u"1", u"2", u"3"}, 24, 0},
      {u"\t10.1.2.3  255.255.0.0 ", true, {u"10", u"1", u"2", u"3"}, 16, 0},
      {u"10.1.2.3/20", true, {u"10", u"1", u"2", u"3"}, 12, 0},
      {u"256.1.2.3", true, kZeros, 12, 1},
      {u"1.2.3.4/33", true, kZeros, 12, 1},
      {u"1.2.3.4/255.0.255.0", true, kZeros, 12, 1},
      {u"1.2.3.4.5", true, kZeros, 12, 1},
      {u"12", false, kZeros, 12, 0},
      {u"1.2.3", false, kZeros, 12, 0},
      {u"abc", false, kZeros, 12, 0},
  };
  for (const auto& c : cases) {
    const std::string label = Narrow(c.text);
    Prepare(kZeros, 2, 0, 1);
    w.list.Select(12);
    const int calculations = w.Calculations();
    const int beeps = w.beeps;
    EXPECT_EQ(w.host.OctetPaste(2, c.text), c.taken) << label;
    EXPECT_EQ(w.Octets(), c.octets) << label;
    EXPECT_EQ(w.list.index, c.mask) << label;
    EXPECT_EQ(w.beeps - beeps, c.beeps) << label;
    EXPECT_EQ(w.Calculations() - calculations, c.taken && c.beeps == 0 ? 1 : 0) << label;
    if (c.taken && c.beeps == 0) {
      EXPECT_EQ(w.focus, ControlId::txtIP2) << label;
      EXPECT_EQ(w.Octet(2).start, 0) << label;
      EXPECT_EQ(w.Octet(2).length, w.Octet(2).Size()) << label;
    }
  }
}

// A paste by the mouse or a menu, a drop, and the menu's cut, delete and undo come with no key
// whose release would compute: each computes once by itself, as soon as the field has its text.
TEST_F(Form1Test, EditsWithoutAKeyComputeOnce) {
  const Text padded = Text(kLongestAddressText - 7, u' ') + u"1.2.3.4";
  const struct {
    const char* what;
    bool paste;  // or the menu's own edit
    Text text;
    Text field;  // the first field's text afterwards
    Text network;
    int calculations;
    int beeps;
  } cases[] = {
      {"a number pasted over the selection", true, u"90", u"90", u"90.1.2.0", 1, 0},
      {"a long number cut to the room", true, u"12345", u"123", u"123.1.2.0", 1, 0},
      {"a whole address", true, u"172.16.0.1/12", u"172", u"172.16.0.0", 1, 0},
      {"a malformed address", true, u"172.16.0.256", u"10", u"10.1.2.0", 0, 1},
      {"an address with all the blanks there is room for", true, padded, u"1", u"1.2.3.0", 1, 0},
      {"an address with one blank more", true, u" " + padded, u"10", u"10.1.2.0", 0, 1},
      {"digits longer than any address", true, Text(kLongestAddressText + 1, u'9'), u"10",
       u"10.1.2.0", 0, 1},
      {"the menu's cut or delete", false, u"", u"", u"0.1.2.0", 1, 0},
      {"the menu's undo", false, u"192", u"192", u"192.1.2.0", 1, 0},
  };
  for (const auto& c : cases) {
    w.list.Select(kOpeningHostBits);
    Prepare({u"10", u"1", u"2", u"3"}, 0, 0, 2);
    w.host.Click(ControlId::cmbMask);
    const int calculations = w.Calculations();
    const int beeps = w.beeps;
    if (c.paste) {
      w.PasteWithoutKey(c.text);
    } else {
      w.EditWithoutKey(c.text);
    }
    EXPECT_EQ(w.Octet(0).text, c.field) << c.what;
    EXPECT_EQ(w.Result(ControlId::txtNetwork).text, c.network) << c.what;
    EXPECT_EQ(w.Calculations() - calculations, c.calculations) << c.what;
    EXPECT_EQ(w.beeps - beeps, c.beeps) << c.what;
  }
}

TEST_F(Form1Test, AddressButtonsFillTheFieldsFromFourPartsOrMore) {
  const struct {
    Text text;
    Octets octets;
    Text shown;  // the message box, empty for none
  } cases[] = {
      {u"192.168.1.10", {u"192", u"168", u"1", u"10"}, u""},
      {u"203.0.113.7\r\n", {u"203", u"0", u"113", u"7\r\n"}, u""},
      {u"1.2.3.4.5", {u"1", u"2", u"3", u"4"}, u""},
      {u"1.2.3", {u"10", u"1", u"2", u"3"}, u"1.2.3"},
      {u"", {u"10", u"1", u"2", u"3"}, u""},
      {u"Windows Sockets are not responding. Unable to successfully get Host Name.",
       {u"10", u"1", u"2", u"3"},
       u"Windows Sockets are not responding. Unable to successfully get Host Name."},
      {Text(300, u'x'), {u"10", u"1", u"2", u"3"}, Text(200, u'x')},
  };
  for (const ControlId button : {ControlId::cmdGetIpCli, ControlId::CmdGetIpSrv}) {
    for (const auto& c : cases) {
      w.SetOctets({u"10", u"1", u"2", u"3"});
      w.boxes.shown.clear();
      w.sources.local = w.sources.publicText = c.text;
      const int calculations = w.Calculations();
      w.host.Click(button);
      EXPECT_EQ(w.Octets(), c.octets) << c.text.size();
      EXPECT_EQ(w.Calculations() - calculations, 1);
      if (c.shown.empty()) {
        EXPECT_TRUE(w.boxes.shown.empty());
      } else {
        ASSERT_EQ(w.boxes.shown.size(), 1u);
        EXPECT_EQ(w.boxes.shown[0], (ShownBox{c.shown, MessageIcon::Exclamation, u"Maskora"}));
      }
    }
  }
  EXPECT_EQ(w.sources.localCalls, 7);
  EXPECT_EQ(w.sources.publicCalls, 7);
}

TEST_F(Form1Test, WheelStepsTheFocusedOctetOnly) {
  const struct {
    std::optional<ControlId> focus;
    Text text;
    int rotation;
    Text after;
    int calculations;
  } cases[] = {
      {ControlId::txtIP2, u"10", 120, u"11", 1},  {ControlId::txtIP2, u"10", 1, u"11", 1},
      {ControlId::txtIP2, u"10", -120, u"9", 1},  {ControlId::txtIP2, u"007", 0, u"7", 1},
      {ControlId::txtIP2, u"", 0, u"0", 1},       {ControlId::txtIP2, u"255", 240, u"255", 1},
      {ControlId::cmbMask, u"10", 120, u"10", 0}, {ControlId::cmdSet, u"10", 120, u"10", 0},
      {std::nullopt, u"10", 120, u"10", 0},
  };
  for (const auto& c : cases) {
    w.Focus(ControlId::txtIP2);
    w.Octet(2).text = c.text;
    w.focus = c.focus;
    const int calculations = w.Calculations();
    w.host.MouseWheel(c.rotation);
    EXPECT_EQ(w.Octet(2).text, c.after) << c.rotation;
    EXPECT_EQ(w.Calculations() - calculations, c.calculations) << c.rotation;
  }
}

TEST_F(Form1Test, EnteredAddressComputesOnce) {
  for (const std::optional<int> hostBits :
       {std::optional<int>(24), std::optional<int>(24), std::optional<int>()}) {
    const int calculations = w.Calculations();
    w.host.EnterAddress({{10, 1, 2, 3}, hostBits});
    EXPECT_EQ(w.Octets(), (Octets{u"10", u"1", u"2", u"3"}));
    EXPECT_EQ(w.list.index, 24);
    EXPECT_EQ(w.Calculations() - calculations, 1);
  }
}

TEST_F(Form1Test, ClosingDuringARequestEndsTheWaitAndTouchesNothing) {
  w.SetOctets({u"10", u"1", u"2", u"3"});
  const Results results = ResultsOf(w);
  w.sources.onPublic = [&] {
    for (;;) {
      w.runtime.ProcessPendingEvents();
    }
    return Text();
  };
  w.runtime.onPass = [&](int) { w.host.Unload(); };
  w.host.Click(ControlId::CmdGetIpSrv);
  EXPECT_EQ(w.Octets(), (Octets{u"10", u"1", u"2", u"3"}));
  EXPECT_EQ(ResultsOf(w), results);
  EXPECT_EQ(w.sources.localCalls, 0);
  EXPECT_EQ(w.hook.calls, (std::vector<std::string>{"HookWheel", "UnhookWheel"}));
  EXPECT_TRUE(w.host.IsUnloaded());
}

TEST(Form1Host, DestroyedDuringARequestRunsNoMoreHandlers) {
  FakeServices services;
  auto window = std::make_unique<FakeWindow>(services);
  window->host.Load();
  FakeRuntime& runtime = services.runtime;
  bool unwound = false;
  services.sources.onPublic = [&] {
    try {
      for (;;) {
        runtime.ProcessPendingEvents();
      }
    } catch (const FormUnloaded&) {
      unwound = true;
      throw;
    }
    return Text();
  };
  runtime.onPass = [&](int) { window.reset(); };
  FakeWindow* raw = window.get();
  raw->host.Click(ControlId::CmdGetIpSrv);
  EXPECT_TRUE(unwound);
  EXPECT_EQ(window, nullptr);
}

TEST_F(Form1Test, DetachedHostRunsNoHandler) {
  w.host.Detach();
  const int calculations = w.Calculations();
  w.host.Click(ControlId::cmbMask);
  w.Focus(ControlId::cmdCalc);
  w.host.MouseWheel(120);
  w.host.Unload();
  EXPECT_EQ(w.Calculations(), calculations);
  EXPECT_EQ(w.hook.calls, std::vector<std::string>{"HookWheel"});
}

}  // namespace
}  // namespace maskora::testing
