// The wheel hook on Qt: an event filter on the form's native window, which sees every wheel
// event before any widget does.
#pragma once

#include <cstdint>
#include <functional>

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "wheelhook/wheelhook.h"
#include "window/form1.h"

class QWheelEvent;

namespace maskora {

// Name of the dynamic property that the form carries while a hook is installed on it.
inline constexpr char kWheelHookProperty[] = "maskoraWheelHook";

// Turns wheel turns over the form into calls of mouseWheel(keys, rotation, x, y), the way a
// Windows form receives them: the wheel goes to the control with the focus; the mask list
// scrolls itself, every other control hands the turn on to the form.
class QtWheelHook : public QObject, public WheelHook {
  Q_OBJECT

 public:
  using MouseWheelCall =
      std::function<void(std::int32_t keys, std::int32_t rotation, std::int32_t x, std::int32_t y)>;

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

// The keys word of a wheel message for Qt's button and modifier state.
std::int32_t WheelKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

}  // namespace maskora
