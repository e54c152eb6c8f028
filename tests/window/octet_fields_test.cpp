// SPDX-License-Identifier: MIT
// The octet fields and the mask list through real Qt events: which keys type a character, the
// order of a keystroke's events, focus reasons, pastes of every kind, and the list's filling.
#include <QClipboard>
#include <QMenu>
#include <QMimeData>

#include "address/address.h"
#include "tests/window/key_table.h"
#include "tests/window/window_fixture.h"

namespace maskora::testing {
namespace {

using OctetFields = WindowTest;

Qt::Key QtKey(char16_t key) {
  switch (key) {
    case u'\b':
      return Qt::Key_Backspace;
    case kLeft:
      return Qt::Key_Left;
    case kUp:
      return Qt::Key_Up;
    case kRight:
      return Qt::Key_Right;
    case kDown:
      return Qt::Key_Down;
    default:
      return Qt::Key_unknown;
  }
}

TEST_F(OctetFields, RowsOfTheKeyTableThroughQtEvents) {
  const std::set<std::string> rows = {
      "a dotted address from the first field",
      "the next field's whole text is replaced",
      "a letter in a full field advances and is discarded",
      "a dot right after an advance does not skip a field",
      "999 in the last field becomes 255 when left",
      "Backspace in an empty field steps back",
      "Left at the start moves back",
      "Up on 007 gives 8",
      "a slash goes on to the mask list",
  };
  for (const KeyCase& c : kKeyTable) {
    if (!rows.contains(c.what)) {
      continue;
    }
    Prepare({ToQString(c.before[0]), ToQString(c.before[1]), ToQString(c.before[2]),
             ToQString(c.before[3])},
            c.field);
    Octet(c.field)->setSelection(c.selStart, c.selLength);
    for (const char16_t key : c.keys) {
      if (QtKey(key) != Qt::Key_unknown) {
        Key(QtKey(key));
      } else {
        Type(QString(QChar(key)));
      }
    }
    EXPECT_EQ(OctetTexts(), (QStringList{ToQString(c.after[0]), ToQString(c.after[1]),
                                         ToQString(c.after[2]), ToQString(c.after[3])}))
        << c.what;
    EXPECT_EQ(Focused(), c.focus) << c.what;
  }
}

// Whether a key press reaches the character handler shows in a field of two characters: any
// character moves the focus on, and only a typed one lands in the field.
TEST_F(OctetFields, WhichKeysTypeACharacter) {
  const struct {
    const char* what;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;  // as X gives it
    QString after;
    ControlId focus;
  } cases[] = {
      {"digit", Qt::Key_5, Qt::NoModifier, "5", "512", ControlId::txtIP2},
      {"Delete", Qt::Key_Delete, Qt::NoModifier, "\x7f", "2", ControlId::txtIP1},
      {"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, "\t", "12", ControlId::txtIP1},
      {"Ctrl+Shift+Tab", Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, "\t", "12",
       ControlId::txtIP1},
      {"Alt+x", Qt::Key_X, Qt::AltModifier, "x", "12", ControlId::txtIP1},
      {"Alt+.", Qt::Key_Period, Qt::AltModifier, ".", "12", ControlId::txtIP1},
      {"Alt+5", Qt::Key_5, Qt::AltModifier, "5", "12", ControlId::txtIP1},
      {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, "\x01", "12", ControlId::txtIP2},
      {"Ctrl+Alt+5, as AltGr", Qt::Key_5, Qt::ControlModifier | Qt::AltModifier, "5", "512",
       ControlId::txtIP2},
  };
  for (const auto& c : cases) {
    Prepare({"0", "12", "0", "0"}, 1);
    Octet(1)->setCursorPosition(0);
    QTest::sendKeyEvent(QTest::Click, window.windowHandle(), c.key, c.text, c.modifiers);
    EXPECT_EQ(Octet(1)->text(), c.after) << c.what;
    EXPECT_EQ(Focused(), c.focus) << c.what;
  }
}

TEST_F(OctetFields, OnlyTheLastReleaseOfAHeldKeyRecalculates) {
  Focus(0);
  Write(0, "10");
  const auto release = [&](bool autoRepeat) {
    QKeyEvent event(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier, "1", autoRepeat);
    QCoreApplication::sendEvent(Octet(0), &event);
    return Edit(ControlId::txtNetwork)->text();
  };
  EXPECT_EQ(release(true), "0.0.0.0");
  EXPECT_EQ(release(false), "10.0.0.0");
}

TEST_F(OctetFields, MenusAndOtherWindowsNeitherLeaveNorEnterAField) {
  const struct {
    Qt::FocusReason reason;
    bool leaves;
  } cases[] = {
      {Qt::TabFocusReason, true},    {Qt::BacktabFocusReason, true},
      {Qt::MouseFocusReason, true},  {Qt::ShortcutFocusReason, true},
      {Qt::OtherFocusReason, true},  {Qt::ActiveWindowFocusReason, false},
      {Qt::PopupFocusReason, false},
  };
  for (const auto& c : cases) {
    Focus(1);
    Write(1, "");
    QFocusEvent out(QEvent::FocusOut, c.reason);
    QCoreApplication::sendEvent(Octet(1), &out);
    EXPECT_EQ(Octet(1)->text(), c.leaves ? "0" : "") << c.reason;
    Write(1, "12");
    Octet(1)->setCursorPosition(1);
    QFocusEvent in(QEvent::FocusIn, c.reason);
    QCoreApplication::sendEvent(Octet(1), &in);
    EXPECT_EQ(Octet(1)->selectedText(), c.leaves ? "12" : "") << c.reason;
  }
}

TEST_F(OctetFields, FillingTheListSelectsNothingAndRaisesNoClick) {
  SetOctets({"10", "1", "2", "3"});
  QtDropDownList list(List());
  list.Clear();
  list.Append(u"(32) 255.255.255.255");
  list.Append(u"(31) 255.255.255.254");
  EXPECT_EQ(List()->currentIndex(), -1);
  EXPECT_EQ(Edit(ControlId::txtNetwork)->text(), "0.0.0.0");
  list.Select(0);
  EXPECT_EQ(Edit(ControlId::txtNetwork)->text(), "10.1.2.3");
}

TEST_F(OctetFields, ProgramWritesLandWholeAndCanStillBeShortened) {
  Write(3, "7\r\n1000");
  EXPECT_EQ(Octet(3)->text(), "7\r\n1000");
  Focus(3);
  Octet(3)->end(false);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Octet(3)->text(), "7\r\n100");
  Type("5");
  EXPECT_EQ(Octet(3)->text(), "7\r\n100");
}

TEST_F(OctetFields, SlashAndDigitsPickTheMaskThroughTheList) {
  const struct {
    QString keys;
    int mask;
  } cases[] = {{"10.0.0.0/8", 24}, {"192.168.1.0/24", 8}, {"1.2.3.4/30", 2}};
  for (const auto& c : cases) {
    Focus(0);
    Type(c.keys);
    EXPECT_EQ(List()->currentIndex(), c.mask) << c.keys.toStdString();
    EXPECT_EQ(Focused(), ControlId::cmbMask) << c.keys.toStdString();
    EXPECT_EQ(OctetTexts().join('.'), c.keys.section('/', 0, 0));
  }
}

// Digits typed into the focused list pick a prefix also without a "/" before them; any other
// key and leaving the list end one.
TEST_F(OctetFields, DigitsTypedIntoTheFocusedListPickThePrefix) {
  SetOctets({"10", "0", "0", "0"});
  List()->setFocus(Qt::TabFocusReason);
  const struct {
    QString keys;
    int mask;
  } cases[] = {{"24", 8}, {"8", 24}, {"168", 24}, {"33", 29}, {"2x4", 28}};
  for (const auto& c : cases) {
    Type(c.keys);
    EXPECT_EQ(List()->currentIndex(), c.mask) << c.keys.toStdString();
    Type("x");
  }
  EXPECT_EQ(Edit(ControlId::txtHosts)->text(), "268.435.454");
  Type("1");
  Button(ControlId::cmdCalc)->setFocus(Qt::TabFocusReason);
  List()->setFocus(Qt::TabFocusReason);
  Type("6");
  EXPECT_EQ(List()->currentIndex(), 26);
  EXPECT_EQ(Focused(), ControlId::cmbMask);
}

class Pastes : public WindowTest {
 protected:
  enum class Way { CtrlV, ShiftInsert, ContextMenu, Drop };

  // Chooses an entry of the second field's context menu.
  void Choose(const QString& entry) {
    QLineEdit* field = Octet(1);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, field->rect().center(),
                            field->mapToGlobal(field->rect().center()));
    QCoreApplication::sendEvent(field, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    bool found = false;
    for (QAction* action : menu->actions()) {
      // The entry's text, with its shortcut after a tab.
      if (action->text().section(u'\t', 0, 0) == entry) {
        found = true;
        action->trigger();
      }
    }
    menu->close();
    EXPECT_TRUE(found) << entry.toStdString();
  }
  // The results as the fields are now.
  void Compute() { window.Host().Click(ControlId::cmbMask); }
  QString Network() const { return Edit(ControlId::txtNetwork)->text(); }

  void Paste(Way way, const QString& text) {
    QApplication::clipboard()->setText(text);
    QLineEdit* field = Octet(1);
    switch (way) {
      case Way::CtrlV:
        Key(Qt::Key_V, Qt::ControlModifier);
        break;
      case Way::ShiftInsert:
        Key(Qt::Key_Insert, Qt::ShiftModifier);
        break;
      case Way::ContextMenu:
        Choose(QLineEdit::tr("&Paste"));
        break;
      case Way::Drop: {
        QMimeData data;
        data.setText(text);
        const QPoint at(field->width() - 1, 5);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &drop);
        break;
      }
    }
  }
};

// Whatever way the text comes, the results follow the fields at once.
TEST_F(Pastes, WholeAddressesFillTheWindowAndTheRestIsCutToTheRoomLeft) {
  const QString longest =
      QString(static_cast<qsizetype>(kLongestAddressText) - 7, u' ') + "9.8.7.6";
  const struct {
    QString field;  // the field's text before, with "2" selected when it holds one
    QString pasted;
    QStringList octets;
    int mask;
    QString network;
  } cases[] = {
      {"", "12345", {"1", "123", "3", "4"}, 8, "1.123.3.0"},
      {"12", "7", {"1", "127", "3", "4"}, 8, "1.127.3.0"},
      {"12", "99", {"1", "199", "3", "4"}, 8, "1.199.3.0"},  // "2" selected
      {"", "a-b", {"1", "a-b", "3", "4"}, 8, "1.0.3.0"},
      {"123", "4", {"1", "123", "3", "4"}, 8, "1.123.3.0"},
      {"", " 192.168.1.10/16\n", {"192", "168", "1", "10"}, 16, "192.168.0.0"},
      {"", "10.1.2.3 255.0.0.0", {"10", "1", "2", "3"}, 24, "10.0.0.0"},
      {"12", "256.1.2.3", {"1", "12", "3", "4"}, 8, "1.12.3.0"},
      {"", longest, {"9", "8", "7", "6"}, 8, "9.8.7.0"},
      // Refused whole, not cut to what fits.
      {"12",
       QString(static_cast<qsizetype>(kLongestAddressText) + 1, u'9'),
       {"1", "12", "3", "4"},
       8,
       "1.12.3.0"},
  };
  for (const Way way : {Way::CtrlV, Way::ShiftInsert, Way::ContextMenu, Way::Drop}) {
    for (const auto& c : cases) {
      const bool selects = c.field == "12" && c.pasted == "99";
      if (selects && way == Way::Drop) {
        continue;  // a drop puts the caret where it lands, which ends the selection
      }
      const std::string label = std::to_string(static_cast<int>(way)) + " '" +
                                c.pasted.toStdString() + "' into '" + c.field.toStdString() + "'";
      List()->setCurrentIndex(8);
      Prepare({"1", c.field, "3", "4"}, 1);
      if (selects) {
        Octet(1)->setSelection(1, 1);
      } else {
        Octet(1)->end(false);
      }
      Compute();
      Paste(way, c.pasted);
      EXPECT_EQ(OctetTexts(), c.octets) << label;
      EXPECT_EQ(List()->currentIndex(), c.mask) << label;
      EXPECT_EQ(Network(), c.network) << label;
    }
  }
}

// The menu's other edits come with no key either.
TEST_F(Pastes, TheMenusEditsComputeAtOnce) {
  const struct {
    QString entry;
    bool selectAll;
    QString field;
    QString network;
  } steps[] = {
      {QLineEdit::tr("&Paste"), true, "90", "1.90.3.0"},
      {QLineEdit::tr("&Undo"), false, "12", "1.12.3.0"},
      {QLineEdit::tr("&Redo"), false, "90", "1.90.3.0"},
      {QLineEdit::tr("Cu&t"), true, "", "1.0.3.0"},
      {QLineEdit::tr("&Undo"), false, "90", "1.90.3.0"},
      {QLineEdit::tr("Delete"), true, "", "1.0.3.0"},
  };
  QApplication::clipboard()->setText("90");
  Prepare({"1", "12", "3", "4"}, 1);
  Compute();
  for (const auto& step : steps) {
    if (step.selectAll) {
      Octet(1)->selectAll();
    }
    Choose(step.entry);
    EXPECT_EQ(Octet(1)->text(), step.field) << step.entry.toStdString();
    EXPECT_EQ(Network(), step.network) << step.entry.toStdString();
  }
}

// What a key does to a field is computed at its release, not also while it is down.
TEST_F(Pastes, AKeysEditsWaitForItsRelease) {
  const struct {
    const char* what;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  } cases[] = {
      {"a digit", Qt::Key_9, Qt::NoModifier},
      {"Ctrl+V", Qt::Key_V, Qt::ControlModifier},
  };
  for (const auto& c : cases) {
    QApplication::clipboard()->setText("9");
    Prepare({"1", "12", "3", "4"}, 1);
    Octet(1)->setSelection(1, 1);
    Compute();
    QTest::keyPress(window.windowHandle(), c.key, c.modifiers);
    EXPECT_EQ(Octet(1)->text(), "19") << c.what;
    EXPECT_EQ(Network(), "1.12.3.0") << c.what;
    QTest::keyRelease(window.windowHandle(), c.key, c.modifiers);
    EXPECT_EQ(Network(), "1.19.3.0") << c.what;
  }
}

}  // namespace
}  // namespace maskora::testing
