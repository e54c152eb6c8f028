// The main window on Qt Widgets: its 27 controls, and the wiring of their events to Form1.
#pragma once

#include <array>
#include <memory>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "window/form1.h"
#include "window/qt/qt_controls.h"

namespace maskora {

class Form1Window : public QWidget, private FormWindow, private WheelHook {
 public:
  Form1Window(MessageBoxes& dialogs, Runtime& runtime, AddressSources& sources);
  ~Form1Window() override;

  // The hook is made once the window exists, since it watches this window.
  void SetWheelHook(WheelHook* hook) { wheelHook_ = hook; }
  // The load event: fills the mask list, computes the first results, hooks the wheel.
  void Load();
  bool IsUnloaded() const { return unloaded_; }

  Form1& form() { return *form_; }
  OctetEdit* txtIP(int index) const { return txtIP_[static_cast<std::size_t>(index)]; }
  QComboBox* cmbMask() const { return cmbMask_; }
  QPushButton* cmdGetIpCli() const { return cmdGetIpCli_; }
  QPushButton* CmdGetIpSrv() const { return CmdGetIpSrv_; }
  QPushButton* cmdCalc() const { return cmdCalc_; }
  QPushButton* cmdSet() const { return cmdSet_; }
  QLineEdit* txtStato() const { return txtStato_; }
  QLineEdit* txtTipo() const { return txtTipo_; }
  QLineEdit* txtClasse() const { return txtClasse_; }
  QLineEdit* txtBroadcast() const { return txtBroadcast_; }
  QLineEdit* txtHosts() const { return txtHosts_; }
  QLineEdit* txtNetwork() const { return txtNetwork_; }
  QLabel* lblDesc(int index) const { return lblDesc_[static_cast<std::size_t>(index)]; }
  QLabel* lblDot(int index) const { return lblDot_[static_cast<std::size_t>(index)]; }
  QLabel* Label1() const { return Label1_; }
  Text cmdSetTag() const { return cmdSetControl_->Tag(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::optional<ControlRef> ActiveControl() const override;
  void HookWheel() override;
  void UnhookWheel() override;

  void CreateControls();
  void ConnectEvents();
  void DescribeForScreenReaders();

  std::array<OctetEdit*, 4> txtIP_{};
  std::array<QLabel*, 8> lblDesc_{};
  std::array<QLabel*, 3> lblDot_{};
  QLabel* Label1_ = nullptr;
  QComboBox* cmbMask_ = nullptr;
  QPushButton* cmdGetIpCli_ = nullptr;
  QPushButton* CmdGetIpSrv_ = nullptr;
  QPushButton* cmdCalc_ = nullptr;
  QPushButton* cmdSet_ = nullptr;
  QLineEdit* txtStato_ = nullptr;
  QLineEdit* txtTipo_ = nullptr;
  QLineEdit* txtClasse_ = nullptr;
  QLineEdit* txtBroadcast_ = nullptr;
  QLineEdit* txtHosts_ = nullptr;
  QLineEdit* txtNetwork_ = nullptr;

  std::array<std::unique_ptr<QtTextField>, 4> octetFields_;
  std::array<std::unique_ptr<QtTextField>, 6> resultFields_;
  std::unique_ptr<QtDropDownList> maskList_;
  std::unique_ptr<QtPushButton> cmdSetControl_;
  std::unique_ptr<Form1> form_;
  WheelHook* wheelHook_ = nullptr;
  bool unloaded_ = false;
};

}  // namespace maskora
