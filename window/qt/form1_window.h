// SPDX-License-Identifier: MIT
// The main window on Qt Widgets: its controls, made from the window's description, and the host
// that their events go to.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include <QWidget>

#include "address/address.h"
#include "wheelhook/qt/qt_wheel_hook.h"
#include "window/form1_description.h"
#include "window/form1_host.h"
#include "window/qt/qt_controls.h"
#include "window/qt/qt_message_boxes.h"

namespace maskora {

// The host and what its handlers read, write and call. A base of Form1Window listed before
// QWidget: made before the widgets and destroyed after them, so that no handler can outlive what
// it works on. The window detaches the host before its widgets go.
struct Form1WindowCore {
  std::array<std::unique_ptr<QtTextField>, kControlCount> fields;
  std::unique_ptr<QtDropDownList> maskList;
  std::unique_ptr<QtPushButton> setButton;
  std::optional<QtMessageBoxes> ownDialogs;
  std::optional<QtWheelHook> wheelHook;
  std::optional<Form1Host> host;
};

class Form1Window : private Form1WindowCore, public QWidget, private Form1Binding {
 public:
  // Makes the controls from the description, the wheel hook and the host, hidden and not yet
  // loaded. dialogs: where the handlers' messages go; the window's own message boxes when none.
  Form1Window(ToolkitRuntime& runtime, AddressSources& sources, MessageBoxes* dialogs = nullptr);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

  // The load event (the mask list filled, the first results shown, the wheel hooked), then the
  // address filled in when one is given. The window stays hidden until shown.
  void Open(const std::optional<AddressEntry>& address = std::nullopt);
  Form1Host& Host() { return *host; }
  // The widget made for a control of the description.
  QWidget* Control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  TextField& Field(ControlId id) override;
  DropDownList& MaskList() override { return *maskList; }
  PushButton& SetButton() override { return *setButton; }
  std::optional<ControlId> ActiveControl() const override;
  void Beep() override;

  QWidget* MakeControl(const ControlDescription& control);

  std::array<QWidget*, kControlCount> controls_{};
};

}  // namespace maskora
