// SPDX-License-Identifier: MIT
#include "wheelhook/qt/qt_wheel_hook.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

namespace maskora {
namespace {

struct Call {
  std::int32_t rotation;
  friend bool operator==(const Call&, const Call&) = default;
};

// Lets a test re-create the native window, as a change of window type does.
class Form : public QWidget {
 public:
  using QWidget::create;
  using QWidget::destroy;
};

// A window shaped like the real one: two octet fields, the mask list and a button.
struct StandIn {
  StandIn() {
    form.setGeometry(200, 150, 300, 120);
    first->setGeometry(10, 10, 40, 20);
    second->setGeometry(60, 10, 40, 20);
    list->setGeometry(10, 50, 160, 24);
    for (int i = 32; i >= 0; --i) {
      list->addItem(QString("/%1").arg(i));
    }
    list->setCurrentIndex(8);
    button->setGeometry(200, 50, 80, 24);
    form.show();
    first->setFocus();
  }

  QtWheelHook::MouseWheelCall Recorder() {
    return [this](std::int32_t r) { calls.push_back({r}); };
  }

  QPoint Center(const QWidget* w) const { return w->mapToGlobal(w->rect().center()); }

  // A wheel event as the window system hands it to the form's native window.
  void Turn(QPoint global, QPoint angle, Qt::MouseButtons buttons = Qt::NoButton,
            Qt::KeyboardModifiers modifiers = Qt::NoModifier, QPoint pixel = {}) {
    QWindow* window = form.windowHandle();
    QWheelEvent event(window->mapFromGlobal(QPointF(global)), QPointF(global), pixel, angle,
                      buttons, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window, &event);
  }

  Form form;
  QLineEdit* first = new QLineEdit("10", &form);
  QLineEdit* second = new QLineEdit("20", &form);
  QComboBox* list = new QComboBox(&form);
  QPushButton* button = new QPushButton("Set", &form);
  std::vector<Call> calls;
  std::unique_ptr<QtWheelHook> hook = std::make_unique<QtWheelHook>(&form, list, Recorder());
};

TEST(QtWheelHook, FocusedControlHandsEveryTurnToTheForm) {
  struct Case {
    std::string name;
    std::string focus;  // "first", "second" or "button"
    std::string over;   // "list", "first", "button", "right edge", "bottom edge"
    QPoint angle;
    std::int32_t rotation;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
  };
  const std::vector<Case> cases = {
      {"field, over list, away", "first", "list", {0, 120}, 120},
      {"field, over list, towards", "first", "list", {0, -120}, -120},
      {"field, over list, two notches", "first", "list", {0, 240}, 240},
      {"field, over other field", "first", "second", {0, 120}, 120},
      {"second field, over button", "second", "button", {0, -120}, -120},
      {"field, right edge", "first", "right edge", {0, 120}, 120},
      {"field, bottom edge", "first", "bottom edge", {0, -120}, -120},
      {"button focused, over list", "button", "list", {0, 120}, 120},
      {"Alt, reported sideways", "first", "list", {-120, 0}, -120, Qt::AltModifier},
      {"Alt, vertical", "first", "list", {0, 120}, 120, Qt::AltModifier},
      {"fine wheel", "first", "list", {0, 15}, 15},
  };
  for (const auto& c : cases) {
    StandIn s;
    s.hook->HookWheel();
    QWidget* focus = c.focus == "first"    ? static_cast<QWidget*>(s.first)
                     : c.focus == "second" ? static_cast<QWidget*>(s.second)
                                           : s.button;
    focus->setFocus();
    const QRect frame = s.form.frameGeometry();
    QPoint at = c.over == "list"         ? s.Center(s.list)
                : c.over == "second"     ? s.Center(s.second)
                : c.over == "button"     ? s.Center(s.button)
                : c.over == "right edge" ? QPoint(frame.x() + frame.width(), frame.center().y())
                                         : QPoint(frame.center().x(), frame.y() + frame.height());
    s.Turn(at, c.angle, Qt::NoButton, c.modifiers);
    ASSERT_EQ(s.calls.size(), 1u) << c.name;
    EXPECT_EQ(s.calls[0], (Call{c.rotation})) << c.name;
    EXPECT_EQ(s.list->currentIndex(), 8) << c.name;
    EXPECT_EQ(s.form.focusWidget(), focus) << c.name;
  }
}

TEST(QtWheelHook, FocusedListStepsItselfWhereverThePointerIs) {
  struct Case {
    std::string over;
    QPoint angle;
    int index;
  };
  const std::vector<Case> cases = {
      {"list", {0, -120}, 9},
      {"list", {0, 120}, 7},
      {"field", {0, -120}, 9},
      {"button", {0, 120}, 7},
  };
  for (const auto& c : cases) {
    StandIn s;
    s.hook->HookWheel();
    s.list->setFocus();
    const QWidget* over = c.over == "list"    ? static_cast<QWidget*>(s.list)
                          : c.over == "field" ? static_cast<QWidget*>(s.first)
                                              : s.button;
    s.Turn(s.Center(over), c.angle);
    EXPECT_TRUE(s.calls.empty()) << c.over;
    EXPECT_EQ(s.list->currentIndex(), c.index) << c.over;
    EXPECT_EQ(s.form.focusWidget(), s.list) << c.over;
  }
}

TEST(QtWheelHook, TurnsThatMakeNoCall) {
  struct Case {
    std::string name;
    QPoint offset;  // from the frame's bottom-right corner
    QPoint angle;
    QPoint pixel;
  };
  const std::vector<Case> cases = {
      {"past the right edge", {1, -10}, {0, 120}, {}},
      {"below the bottom edge", {-10, 1}, {0, 120}, {}},
      {"sideways, a tilted wheel", {-10, -10}, {120, 0}, {}},
      {"sideways, a touchpad swipe", {-10, -10}, {-15, 0}, {-4, 0}},
      {"pixel scrolling only", {-10, -10}, {0, 0}, {0, 6}},
      {"no movement", {-10, -10}, {0, 0}, {}},
  };
  for (const auto& c : cases) {
    StandIn s;
    s.hook->HookWheel();
    const QRect frame = s.form.frameGeometry();
    s.Turn(QPoint(frame.x() + frame.width(), frame.y() + frame.height()) + c.offset, c.angle,
           Qt::NoButton, Qt::NoModifier, c.pixel);
    EXPECT_TRUE(s.calls.empty()) << c.name;
    EXPECT_EQ(s.list->currentIndex(), 8) << c.name;
  }
}

TEST(QtWheelHook, OpenListScrollsItself) {
  StandIn s;
  s.hook->HookWheel();
  s.list->showPopup();
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  s.Turn(s.Center(s.first), {0, 120});
  EXPECT_TRUE(s.calls.empty());
  s.list->hidePopup();
  s.first->setFocus();
  s.Turn(s.Center(s.first), {0, 120});
  EXPECT_EQ(s.calls.size(), 1u);
}

TEST(QtWheelHook, UnhookLeavesNothingBehind) {
  StandIn s;
  EXPECT_FALSE(s.form.dynamicPropertyNames().contains(kWheelHookProperty));
  for (int round = 0; round < 2; ++round) {
    s.hook->HookWheel();
    EXPECT_TRUE(s.form.dynamicPropertyNames().contains(kWheelHookProperty)) << round;
    s.Turn(s.Center(s.list), {0, 120});
    EXPECT_EQ(s.calls.size(), 1u) << round;
    s.hook->UnhookWheel();
    EXPECT_FALSE(s.form.dynamicPropertyNames().contains(kWheelHookProperty)) << round;
    s.calls.clear();
    // Nothing intercepts now: Qt hands the turn to the list under the pointer.
    const int before = s.list->currentIndex();
    s.Turn(s.Center(s.list), {0, -120});
    EXPECT_TRUE(s.calls.empty()) << round;
    EXPECT_EQ(s.list->currentIndex(), before + 1) << round;
  }
}

TEST(QtWheelHook, RepeatedOrForeignCallsChangeNothing) {
  StandIn s;
  s.hook->UnhookWheel();  // never hooked
  s.hook->HookWheel();
  s.hook->HookWheel();  // already hooked
  std::vector<Call> otherCalls;
  QtWheelHook other(&s.form, s.list, [&](std::int32_t r) { otherCalls.push_back({r}); });
  other.HookWheel();  // the form already carries a hook
  s.Turn(s.Center(s.list), {0, 120});
  EXPECT_EQ(s.calls.size(), 1u);
  EXPECT_TRUE(otherCalls.empty());
  other.UnhookWheel();  // not its hook to remove
  s.Turn(s.Center(s.list), {0, 120});
  EXPECT_EQ(s.calls.size(), 2u);
  s.hook->UnhookWheel();
  EXPECT_FALSE(s.form.dynamicPropertyNames().contains(kWheelHookProperty));
  s.Turn(s.Center(s.first), {0, 120});
  EXPECT_EQ(s.calls.size(), 2u);
}

TEST(QtWheelHook, DestroyingTheHookUnhooks) {
  StandIn s;
  s.hook->HookWheel();
  s.hook.reset();
  EXPECT_FALSE(s.form.dynamicPropertyNames().contains(kWheelHookProperty));
  s.Turn(s.Center(s.first), {0, 120});
  EXPECT_TRUE(s.calls.empty());
}

TEST(QtWheelHook, HookedBeforeShownAndAcrossANewNativeWindow) {
  StandIn s;
  s.form.hide();
  s.hook->HookWheel();
  s.form.show();
  s.Turn(s.Center(s.first), {0, 120});
  EXPECT_EQ(s.calls.size(), 1u);

  const QPointer<QWindow> old = s.form.windowHandle();
  s.form.destroy();
  EXPECT_TRUE(old.isNull());
  s.form.create();
  s.form.show();
  ASSERT_NE(s.form.windowHandle(), nullptr);
  s.first->setFocus();
  s.Turn(s.Center(s.list), {0, -120});
  ASSERT_EQ(s.calls.size(), 2u);
  EXPECT_EQ(s.calls.back().rotation, -120);
  EXPECT_EQ(s.list->currentIndex(), 8);
}

}  // namespace
}  // namespace maskora

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
