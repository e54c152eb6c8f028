// SPDX-License-Identifier: MIT
#include "wheelhook/qt/qt_wheel_hook.h"

#include <optional>
#include <utility>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QRect>
#include <QVariant>
#include <QWheelEvent>

#include "wheelhook/wheelhook.h"

namespace maskora {

namespace {

ScreenRect FrameRect(const QWidget& form) {
  // The frame's right and bottom edges belong to it, as they do in the decisions.
  const QRect frame = form.frameGeometry();
  return {frame.x(), frame.y(), frame.x() + frame.width(), frame.y() + frame.height()};
}

// The turn of the wheel, none for sideways scrolling: a tilted wheel or a touchpad swipe. Qt
// reports a turn made with Alt held as sideways; it counts while Alt is held.
std::optional<std::int32_t> Rotation(const QWheelEvent& event) {
  const QPoint angle = event.angleDelta();
  if (angle.y() != 0) {
    return angle.y();
  }
  if (angle.x() != 0 && (event.modifiers() & Qt::AltModifier)) {
    return angle.x();
  }
  return std::nullopt;
}

}  // namespace

QtWheelHook::QtWheelHook(QWidget* form, QWidget* list, MouseWheelCall mouseWheel, QObject* parent)
    : QObject(parent), form_(form), list_(list), mouseWheel_(std::move(mouseWheel)) {}

QtWheelHook::~QtWheelHook() {
  UnhookWheel();
}

bool QtWheelHook::Installed() const {
  return form_ && form_->property(kWheelHookProperty).value<QObject*>() == this;
}

void QtWheelHook::HookWheel() {
  if (!form_ || form_->property(kWheelHookProperty).isValid()) {
    return;
  }
  form_->winId();
  form_->setProperty(kWheelHookProperty, QVariant::fromValue<QObject*>(this));
  // Watching the widget too lets the hook follow when Qt re-creates the native window.
  form_->installEventFilter(this);
  AttachToWindow();
}

void QtWheelHook::UnhookWheel() {
  if (!Installed()) {
    return;
  }
  form_->removeEventFilter(this);
  if (window_) {
    window_->removeEventFilter(this);
  }
  window_ = nullptr;
  form_->setProperty(kWheelHookProperty, QVariant());
}

void QtWheelHook::AttachToWindow() {
  QWindow* const window = form_->windowHandle();
  if (window == window_) {
    return;
  }
  if (window_) {
    window_->removeEventFilter(this);
  }
  window_ = window;
  if (window_) {
    window_->installEventFilter(this);
  }
}

bool QtWheelHook::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_ && event->type() == QEvent::WinIdChange) {
    AttachToWindow();
  } else if (watched == window_ && event->type() == QEvent::Wheel) {
    return HandleWheel(static_cast<const QWheelEvent&>(*event));
  }
  return false;
}

bool QtWheelHook::HandleWheel(const QWheelEvent& event) {
  if (QApplication::activePopupWidget() != nullptr) {
    return false;  // an open list (or menu) scrolls itself; Qt routes the wheel to it
  }
  if (ListHasFocus()) {
    // The focused list takes the turn wherever the pointer is over the window.
    QWheelEvent copy(list_->mapFromGlobal(event.globalPosition()), event.globalPosition(),
                     event.pixelDelta(), event.angleDelta(), event.buttons(), event.modifiers(),
                     event.phase(), event.inverted(), event.source(), event.pointingDevice());
    QCoreApplication::sendEvent(list_, &copy);
    return true;
  }
  // Any other control hands the turn to the form. Consumed either way: the form's own
  // handling of a wheel does nothing, while Qt's would scroll the widget under the pointer.
  const std::optional<std::int32_t> rotation = Rotation(event);
  const QPoint at = event.globalPosition().toPoint();
  if (rotation && mouseWheel_ && IsPointOverWindow(FrameRect(*form_), at.x(), at.y())) {
    mouseWheel_(*rotation);
  }
  return true;
}

bool QtWheelHook::ListHasFocus() const {
  const QWidget* const focus = form_ ? form_->focusWidget() : nullptr;
  return list_ && focus && (focus == list_ || list_->isAncestorOf(focus));
}

}  // namespace maskora
