// Typing into the octet fields with real key events: the filter, the focus moves, stepping,
// and the corrections made when a field is left.
#include <gtest/gtest.h>

#include <QClipboard>

#include "tests/window/window_fixture.h"

namespace maskora::testing {
namespace {

using Octets = WindowTest;

std::vector<QString> FieldTexts(const Form1Window& window) {
  std::vector<QString> texts;
  for (int i = 0; i < 4; ++i) {
    texts.push_back(window.txtIP(i)->text());
  }
  return texts;
}

TEST_F(Octets, DottedAddressesTypedFromTheFirstFieldFillAllFour) {
  struct Case {
    QString keys;
    std::vector<QString> octets;
  };
  const std::vector<Case> cases = {{"192.168.1.10", {"192", "168", "1", "10"}},
                                   {"10.1.2.3", {"10", "1", "2", "3"}},
                                   {"1.2.3.4", {"1", "2", "3", "4"}},
                                   {"255.255.255.255", {"255", "255", "255", "255"}}};
  for (const Case& c : cases) {
    SetOctets({"0", "0", "0", "0"});
    Focus(0);
    Type(c.keys);
    EXPECT_EQ(FieldTexts(window), c.octets) << c.keys.toStdString();
    EXPECT_EQ(Focused(), 3);
  }
  EXPECT_EQ(window.txtNetwork()->text(), "255.255.255.0");
}

TEST_F(Octets, ThirdDigitStaysAndTheNextFieldIsSelectedForReplacement) {
  SetOctets({"19", "77", "0", "0"});
  Focus(0);
  window.txtIP(0)->setCursorPosition(2);
  Type("2");
  EXPECT_EQ(window.txtIP(0)->text(), "192");
  ASSERT_EQ(Focused(), 1);
  EXPECT_EQ(window.txtIP(1)->selectedText(), "77");
  EXPECT_EQ(window.txtClasse()->text(), "C - (24) 255.255.255.0");  // at release, with the 2
  Type("5");
  EXPECT_EQ(window.txtIP(1)->text(), "5");
}

TEST_F(Octets, AutomaticAdvanceIgnoresTheCaret) {
  SetOctets({"0", "12", "0", "0"});
  Focus(1);
  window.txtIP(1)->setCursorPosition(0);
  Type("1");
  EXPECT_EQ(window.txtIP(1)->text(), "112");
  EXPECT_EQ(Focused(), 2);
}

TEST_F(Octets, CharacterFilterAndFocusMoves) {
  struct Case {
    int field;
    QString text;
    int selStart, selLength;  // selection before the key
    QString keys;
    QString textAfter;
    int focusAfter;
  };
  const std::vector<Case> cases = {
      {1, "12", 2, 0, "a", "12", 2},    // discarded, but two characters advance
      {1, "1", 1, 0, "a", "1", 1},      // discarded, stays
      {2, "12", 0, 1, "5", "52", 2},    // replaces the selection, no advance
      {0, "7", 1, 0, ".", "7", 1},      // "." moves on and is never inserted
      {3, "7", 1, 0, ".", "7", 3},      // nowhere to move in the last field
      {1, "12", 2, 0, ".", "12", 2},    // "." and the advance both aim at the next field
      {2, "45", 0, 2, ".", "45", 2},    // wholly selected: "." is part of a dotted address
      {3, "9", 1, 0, "99", "999", 3},   // no advance in the last field
      {3, "999", 3, 0, "9", "999", 3},  // three characters at most
      {0, "1", 1, 0, " ", "1", 0},      // blanks are not digits
  };
  for (const Case& c : cases) {
    SetOctets({"0", "0", "0", "0"});
    Enter(c.field, c.text);
    window.txtIP(c.field)->setSelection(c.selStart, c.selLength);
    Type(c.keys);
    const std::string label = c.text.toStdString() + " + '" + c.keys.toStdString() + "'";
    EXPECT_EQ(window.txtIP(c.field)->text(), c.textAfter) << label;
    EXPECT_EQ(Focused(), c.focusAfter) << label;
  }
}

TEST_F(Octets, BackspaceDeletesOrStepsBack) {
  SetOctets({"10", "20", "", "0"});
  Focus(2);
  Key(Qt::Key_Backspace);
  ASSERT_EQ(Focused(), 1);
  EXPECT_EQ(window.txtIP(1)->selectedText(), "20");
  EXPECT_EQ(window.txtIP(2)->text(), "0");  // refilled when it was left, and kept

  window.txtIP(1)->setCursorPosition(2);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(window.txtIP(1)->text(), "2");
  EXPECT_EQ(Focused(), 1);

  Write(0, "");
  Focus(0);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Focused(), 0);
}

TEST_F(Octets, OtherKeysEditAsTheFieldDoesAndRecalculateAtRelease) {
  Enter(0, "192");
  window.txtIP(0)->setCursorPosition(0);
  // Under X, Delete carries the text "\x7f"; it is no character for the filter all the same.
  QTest::sendKeyEvent(QTest::Click, window.windowHandle(), Qt::Key_Delete, QString("\x7f"),
                      Qt::NoModifier);
  EXPECT_EQ(window.txtIP(0)->text(), "92");
  EXPECT_EQ(window.txtNetwork()->text(), "92.0.0.0");
  Key(Qt::Key_End);
  Type("1");
  EXPECT_EQ(window.txtIP(0)->text(), "921");
  EXPECT_EQ(Focused(), 1);
}

TEST_F(Octets, LeftAndRightLeaveAtTheEdges) {
  struct Case {
    int field;
    QString text;
    int selStart, selLength;
    Qt::Key key;
    int focusAfter;
  };
  const std::vector<Case> cases = {
      {1, "12", 0, 0, Qt::Key_Left, 0},  {0, "12", 0, 0, Qt::Key_Left, 0},
      {2, "12", 1, 0, Qt::Key_Left, 2},  {2, "12", 0, 2, Qt::Key_Left, 2},
      {2, "12", 2, 0, Qt::Key_Right, 3}, {3, "12", 2, 0, Qt::Key_Right, 3},
      {1, "12", 1, 0, Qt::Key_Right, 1}, {1, "12", 0, 2, Qt::Key_Right, 1},
      {2, "", 0, 0, Qt::Key_Left, 1},    {2, "", 0, 0, Qt::Key_Right, 3},
  };
  for (const Case& c : cases) {
    Enter(c.field, c.text);
    window.txtIP(c.field)->setSelection(c.selStart, c.selLength);
    Key(c.key);
    EXPECT_EQ(Focused(), c.focusAfter)
        << c.field << " '" << c.text.toStdString() << "' " << c.selStart << "+" << c.selLength;
  }
}

TEST_F(Octets, UpAndDownStepWithinTheOctetRange) {
  struct Case {
    QString text;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString after;
  };
  const std::vector<Case> cases = {
      {"255", Qt::Key_Up, Qt::NoModifier, "255"},  {"0", Qt::Key_Down, Qt::NoModifier, "0"},
      {"", Qt::Key_Up, Qt::NoModifier, "1"},       {"", Qt::Key_Down, Qt::NoModifier, "0"},
      {"007", Qt::Key_Up, Qt::NoModifier, "8"},    {"10", Qt::Key_Up, Qt::ShiftModifier, "11"},
      {"999", Qt::Key_Down, Qt::NoModifier, "255"}};
  for (const Case& c : cases) {
    Enter(0, c.text);
    Key(c.key, c.modifiers);
    EXPECT_EQ(window.txtIP(0)->text(), c.after) << c.text.toStdString();
    EXPECT_EQ(window.txtBroadcast()->text().section('.', 0, 0), c.after);
  }
}

TEST_F(Octets, HeldKeysRepeatTheirPressOnly) {
  SetOctets({"10", "0", "0", "0"});
  Focus(0);
  for (int i = 0; i < 5; ++i) {
    QTest::keyPress(window.windowHandle(), Qt::Key_Up, Qt::NoModifier);
  }
  QTest::keyRelease(window.windowHandle(), Qt::Key_Up, Qt::NoModifier);
  EXPECT_EQ(window.txtIP(0)->text(), "15");
  EXPECT_EQ(window.txtNetwork()->text(), "15.0.0.0");
}

TEST_F(Octets, LeavingAFieldCorrectsItsText) {
  struct Case {
    QString text;  // as the program or a paste left it
    QString after;
  };
  const std::vector<Case> cases = {
      {"", "0"},      {"-5", "0"},   {"999", "255"}, {"007", "007"}, {"1.5", "1.5"},
      {"300", "255"}, {"12a", "12"}, {"abc", "0"},   {"-1x", "0"},   {"9E9", "255"},
  };
  for (const Case& c : cases) {
    Focus(1);
    Write(1, c.text);
    Focus(2);
    EXPECT_EQ(window.txtIP(1)->text(), c.after) << c.text.toStdString();
  }
}

TEST_F(Octets, TypedNineNineNineInTheLastFieldBecomes255WhenLeft) {
  Focus(3);
  Type("999");
  EXPECT_EQ(window.txtIP(3)->text(), "999");
  EXPECT_EQ(window.txtBroadcast()->text(), "0.0.0.255");
  Key(Qt::Key_Tab);
  EXPECT_EQ(window.txtIP(3)->text(), "255");
}

TEST_F(Octets, PastingTakesUpToThreeCharactersOfAnyKind) {
  struct Case {
    QString clip;
    QString after;
  };
  const std::vector<Case> cases = {{"12", "12"}, {"a-b", "a-b"}, {"1234", ""}};
  for (const Case& c : cases) {
    Enter(1, "");
    QApplication::clipboard()->setText(c.clip);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window.txtIP(1)->text(), c.after) << c.clip.toStdString();
  }
  Write(1, "");
  QApplication::clipboard()->setText("7");
  Key(Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(window.txtIP(1)->text(), "7");
}

TEST_F(Octets, ProgramWritesLandWholeAndCanStillBeShortened) {
  Write(3, "7\r\n1000");
  EXPECT_EQ(window.txtIP(3)->text(), "7\r\n1000");
  Focus(3);
  window.txtIP(3)->end(false);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(window.txtIP(3)->text(), "7\r\n100");
  Type("5");
  EXPECT_EQ(window.txtIP(3)->text(), "7\r\n100");
}

}  // namespace
}  // namespace maskora::testing
