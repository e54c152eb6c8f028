// SPDX-License-Identifier: MIT
// The main window on Qt Widgets: its controls, made from the window's description, and the host
// that their events go to.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include <QWidget>

#include "window/form1_host.h"
#include "window/qt/qt_controls.h"

namespace maskora {

// The host and the controls that its handlers read and write. A base of Form1Window listed before
// QWidget: made before the widgets and destroyed after them, so that no handler can outlive what
// it works on. The window detaches the host before its widgets go.
struct Form1WindowCore {
  std::array<std::unique_ptr<QtTextField>, kControlCount> fields;
  std::unique_ptr<QtDropDownList> maskList;
  std::unique_ptr<QtPushButton> setButton;
  std::optional<Form1Host> host;
};

class Form1Window : private Form1WindowCore, public QWidget, private Form1Binding {
 public:
  Form1Window(MessageBoxes& dialogs, ToolkitRuntime& runtime, AddressSources& sources);
  ~Form1Window() override;
  Form1Window(const Form1Window&) = delete;
  Form1Window& operator=(const Form1Window&) = delete;

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
