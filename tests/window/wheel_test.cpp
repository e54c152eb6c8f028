// Wheel turns over the real window: the focused octet field steps, the list keeps its own wheel.
#include <gtest/gtest.h>

#include <QWheelEvent>

#include "tests/window/window_fixture.h"

namespace maskora::testing {
namespace {

class Wheel : public WindowTest {
 protected:
  // One wheel event over a control (or a point of the window), delivered as the platform does:
  // to the form's native window first.
  void Turn(QWidget* over, int rotation) {
    const QPoint local = over->rect().center();
    TurnAt(over->mapToGlobal(local), rotation);
  }
  void TurnAt(QPoint global, int rotation) {
    const QPointF inWindow = window.windowHandle()->mapFromGlobal(global);
    QWheelEvent event(inWindow, QPointF(global), QPoint(), QPoint(0, rotation), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window.windowHandle(), &event);
  }
};

TEST_F(Wheel, StepsTheFocusedOctetByOnePerEventWhereverThePointerIs) {
  Enter(2, "10");
  struct Case {
    QWidget* over;
    int rotation;
    QString after;
  };
  const std::vector<Case> cases = {
      {window.txtIP(2), 120, "11"},     {window.txtIP(2), -120, "10"},
      {window.cmbMask(), 120, "11"},    {window.txtHosts(), 240, "12"},
      {window.cmdGetIpCli(), -1, "11"}, {window.lblDesc(4), 15, "12"},
  };
  for (const Case& c : cases) {
    Turn(c.over, c.rotation);
    EXPECT_EQ(window.txtIP(2)->text(), c.after) << c.over->objectName().toStdString();
    EXPECT_EQ(window.txtBroadcast()->text().section('.', 2, 2), c.after);
  }
  EXPECT_EQ(window.cmbMask()->currentIndex(), 8);  // the list under the pointer never scrolled
  EXPECT_TRUE(window.txtIP(2)->hasFocus());
}

TEST_F(Wheel, ClampsAtTheEndsOfTheOctetRange) {
  Enter(0, "255");
  Turn(window.txtIP(0), 120);
  EXPECT_EQ(window.txtIP(0)->text(), "255");
  Enter(0, "");
  Turn(window.txtIP(0), -120);
  EXPECT_EQ(window.txtIP(0)->text(), "0");
}

TEST_F(Wheel, LeavesTheListToItselfAndButtonsStepNothing) {
  window.cmbMask()->setFocus();
  Turn(window.txtIP(0), -120);
  EXPECT_EQ(window.cmbMask()->currentIndex(), 9);
  EXPECT_EQ(window.txtIP(0)->text(), "0");
  EXPECT_EQ(window.txtHosts()->text(), "510");

  window.cmdCalc()->setFocus();
  Turn(window.txtIP(0), 120);
  EXPECT_EQ(window.txtIP(0)->text(), "0");
  EXPECT_EQ(window.cmbMask()->currentIndex(), 9);
}

TEST_F(Wheel, OutsideTheWindowNothingSteps) {
  Enter(1, "5");
  const QRect frame = window.frameGeometry();
  TurnAt(QPoint(frame.x() + frame.width() + 1, frame.center().y()), 120);
  EXPECT_EQ(window.txtIP(1)->text(), "5");
}

TEST_F(Wheel, AfterUnloadTheHookIsGone) {
  Enter(1, "5");
  window.close();
  EXPECT_FALSE(window.property(kWheelHookProperty).isValid());
  Turn(window.txtIP(1), 120);
  EXPECT_EQ(window.txtIP(1)->text(), "5");
}

}  // namespace
}  // namespace maskora::testing
