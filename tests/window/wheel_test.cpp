// SPDX-License-Identifier: MIT
// Wheel turns over the real window: the focused octet field steps by the vertical wheel wherever
// the pointer is over the window; the list keeps its own wheel.
#include <QWheelEvent>

#include "tests/window/window_fixture.h"

namespace maskora::testing {
namespace {

class Wheel : public WindowTest {
 protected:
  // One wheel event at a point of the screen, delivered as the platform does: to the form's
  // native window first.
  void TurnAt(QPoint global, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent event(window.windowHandle()->mapFromGlobal(QPointF(global)), QPointF(global),
                      QPoint(), angle, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window.windowHandle(), &event);
  }
  void Turn(ControlId over, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* widget = window.Control(over);
    TurnAt(widget->mapToGlobal(widget->rect().center()), angle, modifiers);
  }
};

TEST_F(Wheel, StepsTheFocusedOctetByTheVerticalWheelOnly) {
  Focus(2);
  Write(2, "10");
  const struct {
    ControlId over;
    QPoint angle;
    Qt::KeyboardModifiers modifiers;
    QString after;
  } cases[] = {
      {ControlId::txtIP2, {0, 120}, Qt::NoModifier, "11"},
      {ControlId::cmbMask, {0, -240}, Qt::NoModifier, "10"},
      {ControlId::lblDesc4, {0, 15}, Qt::NoModifier, "11"},
      {ControlId::txtIP2, {120, 0}, Qt::NoModifier, "11"},  // tilted wheel, touchpad swipe
      {ControlId::txtIP2, {-120, 0}, Qt::NoModifier, "11"},
      {ControlId::txtIP2, {120, 0}, Qt::AltModifier, "12"},  // how Qt reports Alt+wheel
      {ControlId::txtIP2, {-120, 0}, Qt::AltModifier, "11"},
      {ControlId::txtIP2, {0, 0}, Qt::NoModifier, "11"},
  };
  for (const auto& c : cases) {
    Turn(c.over, c.angle, c.modifiers);
    EXPECT_EQ(Octet(2)->text(), c.after) << c.angle.x() << "," << c.angle.y();
    EXPECT_EQ(Edit(ControlId::txtBroadcast)->text().section('.', 2, 2), c.after);
  }
  EXPECT_EQ(List()->currentIndex(), 8);  // the list under the pointer never scrolled
  EXPECT_EQ(Focused(), ControlId::txtIP2);
}

TEST_F(Wheel, TheFocusedListStepsItselfAndOutsideNothingSteps) {
  List()->setFocus();
  Turn(ControlId::txtIP0, {0, -120});
  EXPECT_EQ(List()->currentIndex(), 9);
  EXPECT_EQ(Octet(0)->text(), "0");

  Focus(1);
  const QRect frame = window.frameGeometry();
  TurnAt(QPoint(frame.x() + frame.width() + 1, frame.center().y()), {0, 120});
  EXPECT_EQ(Octet(1)->text(), "0");
  TurnAt(QPoint(frame.x() + frame.width(), frame.center().y()), {0, 120});
  EXPECT_EQ(Octet(1)->text(), "1");
}

TEST_F(Wheel, AfterUnloadTheHookIsGone) {
  Focus(1);
  window.close();
  EXPECT_FALSE(window.property(kWheelHookProperty).isValid());
  Turn(ControlId::txtIP1, {0, 120});
  EXPECT_EQ(Octet(1)->text(), "0");
}

}  // namespace
}  // namespace maskora::testing
