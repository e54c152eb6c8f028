// SPDX-License-Identifier: MIT
// The wheel hook on Qt: an event filter on the form's native window, which sees every wheel
// event before any widget does.
#pragma once

#include <cstdint>
#include <functional>

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "window/ports.h"

class QWheelEvent;

namespace maskora {

// Name of the dynamic property that the form carries while a hook is installed on it.
inline constexpr char kWheelHookProperty[] = "maskoraWheelHook";

// Turns wheel turns over the form into calls of mouseWheel: the mask list takes a turn itself
// while it has the focus; with any other control focused the form gets it.
class QtWheelHook : public QObject, public WheelHook {
  Q_OBJECT

 public:
  // rotation: 120 a notch, positive away from the user.
  using MouseWheelCall = std::function<void(std::int32_t rotation)>;

  // form: the top-level widget of the window; list: the drop-down list on it (a QComboBox).
  QtWheelHook(QWidget* form, QWidget* list, MouseWheelCall mouseWheel, QObject* parent = nullptr);
  ~QtWheelHook() override;

  // Creates the form's native window if need be. Hooking a form that is already hooked, and
  // unhooking one that this hook did not hook, change nothing.
  void HookWheel() override;
  void UnhookWheel() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Installed() const;
  void AttachToWindow();
  bool HandleWheel(const QWheelEvent& event);
  bool ListHasFocus() const;

  QPointer<QWidget> form_;
  QPointer<QWidget> list_;
  QPointer<QWindow> window_;
  MouseWheelCall mouseWheel_;
};

}  // namespace maskora
