// The main window: its start state, the mask list, the recalculation, the class button, the
// About box, keyboard access and the address buttons, driven through real Qt events.
#include <gtest/gtest.h>

#include <QTimer>

#include "tests/window/window_fixture.h"
#include "window/qt/qt_message_boxes.h"

namespace maskora::testing {
namespace {

using Window = WindowTest;

TEST_F(Window, OpensOnZeroAddressWithSlash24) {
  EXPECT_EQ(window.windowTitle(), "Maskora 1.0 - Mervik");
  EXPECT_EQ(window.cmbMask()->count(), 33);
  EXPECT_EQ(window.cmbMask()->currentIndex(), 8);
  EXPECT_EQ(window.cmbMask()->currentText(), "(24) 255.255.255.0");
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(window.txtIP(i)->text(), "0");
  }
  EXPECT_EQ(Results(),
            (std::vector<QString>{"NON VALIDO: IP = Network!", "Indirizzi ZERO (riservati)",
                                  "A - ( 8 ) 255.0.0.0", "0.0.0.255", "254", "0.0.0.0"}));
  EXPECT_TRUE(window.cmdSet()->isEnabled());
  EXPECT_EQ(window.cmdSetTag(), u"24");
  EXPECT_TRUE(window.txtIP(0)->hasFocus());
}

TEST_F(Window, MaskListHoldsEveryPrefixInOrder) {
  const std::vector<std::pair<int, QString>> entries = {
      {0, "(32) 255.255.255.255"}, {1, "(31) 255.255.255.254"}, {7, "(25) 255.255.255.128"},
      {9, "(23) 255.255.254.0"},   {22, "(10) 255.192.0.0"},    {23, "( 9 ) 255.128.0.0"},
      {24, "( 8 ) 255.0.0.0"},     {31, "( 1 ) 128.0.0.0"},     {32, "( 0 ) 0.0.0.0"}};
  for (const auto& [index, text] : entries) {
    EXPECT_EQ(window.cmbMask()->itemText(index), text) << index;
  }
}

TEST_F(Window, EveryMaskChangeRewritesAllResults) {
  SetOctets({"10", "0", "0", "5"});
  struct Case {
    int mask;
    std::vector<QString> results;
  };
  const std::vector<Case> cases = {
      {1,
       {"NON VALIDO: IP = Broadcast!", "Privato", "A - ( 8 ) 255.0.0.0", "10.0.0.5",
        "Mask non valida", "10.0.0.4"}},
      {0, {"Host singolo", "Privato", "A - ( 8 ) 255.0.0.0", "10.0.0.5", "1", "10.0.0.5"}},
      {32,
       {"Valido", "Privato", "A - ( 8 ) 255.0.0.0", "255.255.255.255", "Tutta internet!",
        "0.0.0.0"}},
      {24,
       {"Valido", "Privato", "A - ( 8 ) 255.0.0.0", "10.255.255.255", "16.777.214", "10.0.0.0"}},
      {31,
       {"Valido", "Privato", "A - ( 8 ) 255.0.0.0", "127.255.255.255", "2.147.483.646",
        "0.0.0.0"}}};
  for (const Case& c : cases) {
    window.cmbMask()->setCurrentIndex(c.mask);
    EXPECT_EQ(Results(), c.results) << c.mask;
  }
}

TEST_F(Window, ClassButtonSelectsTheDefaultMaskOfClassesAToC) {
  struct Case {
    std::vector<QString> octets;
    bool enabled;
    std::u16string tag;
    int maskAfterClick;
  };
  const std::vector<Case> cases = {
      {{"10", "1", "2", "3"}, true, u"24", 24},
      {{"172", "20", "1", "1"}, true, u"16", 16},
      {{"192", "168", "1", "1"}, true, u"8", 8},
      {{"224", "0", "0", "1"}, false, u"8", 8},  // D keeps the last tag and disables
      {{"240", "0", "0", "1"}, false, u"8", 8},
      {{"10", "0", "0", "1"}, true, u"24", 24},
  };
  for (const Case& c : cases) {
    SetOctets(c.octets);
    window.cmbMask()->setCurrentIndex(window.cmbMask()->currentIndex() == 8 ? 9 : 8);
    EXPECT_EQ(window.cmdSet()->isEnabled(), c.enabled) << c.octets[0].toStdString();
    EXPECT_EQ(window.cmdSetTag(), c.tag) << c.octets[0].toStdString();
    if (c.enabled) {
      QTest::mouseClick(window.cmdSet(), Qt::LeftButton);
      EXPECT_EQ(window.cmbMask()->currentIndex(), c.maskAfterClick);
    }
  }
}

TEST_F(Window, ClassButtonAfterTenOneTwoThreeShowsTheWholeClassANetwork) {
  SetOctets({"10", "1", "2", "3"});
  window.cmbMask()->setCurrentIndex(8);
  QTest::mouseClick(window.cmdSet(), Qt::LeftButton);
  EXPECT_EQ(window.cmbMask()->currentText(), "( 8 ) 255.0.0.0");
  EXPECT_EQ(window.txtNetwork()->text(), "10.0.0.0");
  EXPECT_EQ(window.txtBroadcast()->text(), "10.255.255.255");
  EXPECT_EQ(window.txtHosts()->text(), "16.777.214");
}

TEST_F(Window, TabVisitsTheControlsInTableOrder) {
  const std::vector<QWidget*> order = {
      window.txtIP(0),       window.txtIP(1),      window.txtIP(2),     window.txtIP(3),
      window.cmdGetIpCli(),  window.CmdGetIpSrv(), window.cmbMask(),    window.cmdCalc(),
      window.txtStato(),     window.txtTipo(),     window.txtClasse(),  window.cmdSet(),
      window.txtBroadcast(), window.txtHosts(),    window.txtNetwork(), window.txtIP(0)};
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    ASSERT_TRUE(order[i]->hasFocus())
        << "step " << i << " focus on " << QApplication::focusWidget()->objectName().toStdString();
    Key(Qt::Key_Tab);
  }
}

TEST_F(Window, AccessKeysFocusAndClick) {
  window.cmdCalc()->setFocus();
  Key(Qt::Key_I, Qt::AltModifier);
  EXPECT_TRUE(window.txtIP(0)->hasFocus());
  Key(Qt::Key_M, Qt::AltModifier);
  EXPECT_TRUE(window.cmbMask()->hasFocus());

  Key(Qt::Key_N, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.shown.size() == 1; }));
  EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Information);
  EXPECT_EQ(boxes.shown[0].title, u"Maskora");
  EXPECT_EQ(boxes.shown[0].text.substr(0, 17), u"Maskora 1.0.0.2\n\n");

  SetOctets({"10", "1", "2", "3"});
  window.cmbMask()->setCurrentIndex(8);
  Key(Qt::Key_E, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.cmbMask()->currentIndex() == 24; }));

  SetOctets({"224", "1", "2", "3"});
  window.cmbMask()->setCurrentIndex(8);
  ASSERT_FALSE(window.cmdSet()->isEnabled());
  Key(Qt::Key_E, Qt::AltModifier);
  QTest::qWait(200);
  EXPECT_EQ(window.cmbMask()->currentIndex(), 8);
}

TEST_F(Window, AboutBoxLeavesFieldsAndFocusAsTheyWere) {
  // A real modal box: opening and closing it must neither leave nor enter the octet field.
  QtMessageBoxes realBoxes;
  realBoxes.SetParent(&window);
  Focus(0);
  Write(0, "999");
  window.txtIP(0)->setSelection(1, 1);
  QString shownText;
  QTimer::singleShot(100, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    shownText = box->windowTitle();
    box->close();
  });
  realBoxes.MsgBox(u"Maskora 1.0.0.2", MessageIcon::Information, u"");
  QApplication::processEvents();
  EXPECT_EQ(shownText, "Maskora");
  EXPECT_EQ(window.txtIP(0)->text(), "999");
  EXPECT_EQ(window.txtIP(0)->selectedText(), "9");
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_TRUE(window.txtIP(0)->hasFocus());
  EXPECT_EQ(window.txtIP(0)->selectedText(), "9");
}

TEST_F(Window, ResultFieldsRefuseTypingButCanBeCopied) {
  window.txtHosts()->setFocus();
  const QString before = window.txtHosts()->text();
  Type("12");
  Key(Qt::Key_Backspace);
  EXPECT_EQ(window.txtHosts()->text(), before);
  EXPECT_TRUE(window.txtHosts()->isReadOnly());
  window.txtHosts()->selectAll();
  EXPECT_EQ(window.txtHosts()->selectedText(), before);
}

TEST_F(Window, ControlsStandWhereTheLayoutPutsThem) {
  EXPECT_EQ(window.size(), QSize(257, 190));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  const std::vector<std::pair<QWidget*, QRect>> places = {
      {window.lblDesc(0), {4, 8, 61, 17}},       {window.Label1(), {76, 4, 91, 21}},
      {window.txtIP(0), {78, 6, 21, 17}},        {window.lblDot(0), {98, 6, 5, 17}},
      {window.txtIP(3), {144, 6, 21, 17}},       {window.cmdGetIpCli(), {168, 4, 41, 21}},
      {window.CmdGetIpSrv(), {212, 4, 41, 21}},  {window.cmbMask(), {76, 28, 133, 21}},
      {window.txtClasse(), {80, 104, 137, 19}},  {window.cmdSet(), {224, 100, 29, 25}},
      {window.txtNetwork(), {80, 164, 173, 19}}, {window.lblDesc(4), {8, 164, 69, 17}}};
  for (const auto& [widget, rect] : places) {
    EXPECT_EQ(widget->geometry(), rect) << widget->objectName().toStdString();
  }
  EXPECT_EQ(window.cmdGetIpCli()->toolTip(), "Imposta l'indirizzo IP privato di questo PC.");
  EXPECT_EQ(window.CmdGetIpSrv()->toolTip(),
            "Imposta l'indirizzo IP pubblico accedendo ad internet.");
}

TEST_F(Window, EveryCaptionAndResultShowsWhole) {
  for (int i = 0; i < 8; ++i) {
    QLabel* label = window.lblDesc(i);
    const int needed = label->fontMetrics().horizontalAdvance(label->text().remove('&').trimmed());
    EXPECT_LE(needed, label->width()) << label->text().toStdString();
  }
  SetOctets({"255", "255", "255", "255"});
  window.cmbMask()->setCurrentIndex(31);
  for (QLineEdit* field : {window.txtStato(), window.txtTipo(), window.txtClasse(),
                           window.txtBroadcast(), window.txtHosts(), window.txtNetwork()}) {
    EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()) + 4, field->width())
        << field->text().toStdString();
  }
  QLineEdit* octet = window.txtIP(0);
  EXPECT_LE(octet->fontMetrics().horizontalAdvance("255"), octet->width());
}

TEST_F(Window, CliAndSrvFillTheOctetsAndRecalculateOnce) {
  QTest::mouseClick(window.cmdGetIpCli(), Qt::LeftButton);
  EXPECT_EQ(sources.localCalls, 1);
  std::vector<QString> octets;
  for (int i = 0; i < 4; ++i) {
    octets.push_back(window.txtIP(i)->text());
  }
  EXPECT_EQ(octets, (std::vector<QString>{"192", "168", "1", "10"}));
  EXPECT_EQ(window.txtNetwork()->text(), "192.168.1.0");

  sources.publicText = u"203.0.113.7\r\n";
  QTest::mouseClick(window.CmdGetIpSrv(), Qt::LeftButton);
  EXPECT_EQ(window.txtIP(0)->text(), "203");
  EXPECT_EQ(window.txtIP(3)->text(), "7\r\n");  // written unchanged, beyond the typing limit
  EXPECT_EQ(window.txtNetwork()->text(), "203.0.113.0");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Window, LookupFailuresKeepTheFieldsAndShowTheirText) {
  SetOctets({"10", "1", "2", "3"});
  struct Case {
    std::u16string text;
    bool boxShown;
  };
  const std::vector<Case> cases = {
      {u"Windows Sockets are not responding. Unable to successfully get Host Name.", true},
      {u"", false},
      {u"1.2.3", true},
  };
  for (const Case& c : cases) {
    boxes.shown.clear();
    sources.local = c.text;
    QTest::mouseClick(window.cmdGetIpCli(), Qt::LeftButton);
    EXPECT_EQ(window.txtIP(0)->text(), "10");
    EXPECT_EQ(window.txtIP(3)->text(), "3");
    ASSERT_EQ(boxes.shown.size(), c.boxShown ? 1u : 0u);
    if (c.boxShown) {
      EXPECT_EQ(boxes.shown[0].text, c.text);
      EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Exclamation);
      EXPECT_EQ(boxes.shown[0].title, u"Maskora");
    }
  }
  sources.publicText = std::u16string(300, u'x');
  boxes.shown.clear();
  QTest::mouseClick(window.CmdGetIpSrv(), Qt::LeftButton);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text.size(), 200u);
}

}  // namespace
}  // namespace maskora::testing
