#include "window/qt/form1_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QPalette>

namespace maskora {

namespace {

constexpr int kTwipsPerPixel = 15;

// Places a control from its position and size in twips.
template <typename Widget>
Widget* Place(Widget* widget, int left, int top, int width, int height) {
  widget->setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                      height / kTwipsPerPixel);
  return widget;
}

void Name(QWidget* widget, const char* name, int index = -1) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setProperty("maskoraIndex", index);
}

void Paint(QWidget* widget, QPalette::ColorRole background) {
  QPalette palette = widget->palette();
  const QColor colour = QApplication::palette().color(background);
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::Base, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QLabel* MakeLabel(QWidget* parent, const char* caption) {
  auto* label = new QLabel(QString::fromUtf8(caption), parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption,
                        const char* tooltip = nullptr) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  Name(button, name);
  button->setAutoDefault(false);
  if (tooltip != nullptr) {
    button->setToolTip(QString::fromUtf8(tooltip));
  }
  return button;
}

QLineEdit* MakeResultField(QWidget* parent, const char* name) {
  auto* field = new QLineEdit(parent);
  Name(field, name);
  field->setReadOnly(true);
  Paint(field, QPalette::Button);
  return field;
}

}  // namespace

Form1Window::Form1Window(MessageBoxes& dialogs, Runtime& runtime, AddressSources& sources)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
  setWindowTitle(QString::fromUtf16(kCaption));
  QFont font(QStringLiteral("DejaVu Sans Condensed"));
  font.setPixelSize(11);
  setFont(font);

  setFixedSize(3855 / kTwipsPerPixel, 2850 / kTwipsPerPixel);
  CreateControls();

  Form1Controls controls;
  for (std::size_t i = 0; i < txtIP_.size(); ++i) {
    octetFields_[i] = std::make_unique<QtTextField>(txtIP_[i]);
    controls.txtIP[i] = octetFields_[i].get();
  }
  QLineEdit* results[] = {txtStato_, txtTipo_, txtClasse_, txtBroadcast_, txtHosts_, txtNetwork_};
  TextField** targets[] = {&controls.txtStato,     &controls.txtTipo,  &controls.txtClasse,
                           &controls.txtBroadcast, &controls.txtHosts, &controls.txtNetwork};
  for (std::size_t i = 0; i < resultFields_.size(); ++i) {
    resultFields_[i] = std::make_unique<QtTextField>(results[i]);
    *targets[i] = resultFields_[i].get();
  }
  maskList_ = std::make_unique<QtDropDownList>(cmbMask_);
  controls.cmbMask = maskList_.get();
  cmdSetControl_ = std::make_unique<QtPushButton>(cmdSet_);
  controls.cmdSet = cmdSetControl_.get();
  cmdSetControl_->SetTag(u"0");

  form_ = std::make_unique<Form1>(controls, Form1Services{*this, dialogs, runtime, sources, *this});
  ConnectEvents();
}

Form1Window::~Form1Window() = default;

void Form1Window::CreateControls() {
  // Created in tab order, which is also Qt's focus chain.
  lblDesc_[0] = Place(MakeLabel(this, "&Indirizzo IP:"), 60, 120, 915, 255);
  Label1_ = Place(MakeLabel(this, ""), 1140, 60, 1365, 315);
  Name(Label1_, "Label1");
  Label1_->setFrameShape(QFrame::Box);
  Paint(Label1_, QPalette::Base);
  const int octetLeft[] = {1170, 1500, 1830, 2160};
  for (int i = 0; i < 4; ++i) {
    auto* field =
        Place(new OctetEdit(static_cast<std::int16_t>(i), this), octetLeft[i], 90, 315, 255);
    Name(field, "txtIP", i);
    field->setText(QStringLiteral("0"));
    field->setFrame(false);
    field->setAlignment(Qt::AlignCenter);
    field->setTextMargins(0, 0, 0, 0);
    txtIP_[static_cast<std::size_t>(i)] = field;
    if (i < 3) {
      auto* dot = Place(MakeLabel(this, "."), 1470 + 330 * i, 90, 75, 255);
      Name(dot, "lblDot", i);
      // Unfilled, on the white frame: a filled dot would cover the edge of a wide octet.
      dot->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
      lblDot_[static_cast<std::size_t>(i)] = dot;
    }
  }
  cmdGetIpCli_ =
      Place(MakeButton(this, "cmdGetIpCli", "&CLI", "Imposta l'indirizzo IP privato di questo PC."),
            2520, 60, 615, 315);
  CmdGetIpSrv_ = Place(MakeButton(this, "CmdGetIpSrv", "&SRV",
                                  "Imposta l'indirizzo IP pubblico accedendo ad internet."),
                       3180, 60, 615, 315);
  lblDesc_[1] = Place(MakeLabel(this, "Subnet &Mask: "), 60, 480, 1035, 255);
  cmbMask_ = Place(new QComboBox(this), 1140, 420, 1995, 315);
  Name(cmbMask_, "cmbMask");
  cmbMask_->setEditable(false);
  cmbMask_->setMaxVisibleItems(12);
  cmdCalc_ = Place(MakeButton(this, "cmdCalc", "I&nfo"), 3180, 420, 615, 315);
  lblDesc_[5] = Place(MakeLabel(this, "Stato IP:"), 120, 960, 1035, 255);
  txtStato_ = Place(MakeResultField(this, "txtStato"), 1200, 960, 2595, 285);
  lblDesc_[7] = Place(MakeLabel(this, "Tipo indirizzo:"), 120, 1260, 1035, 255);
  txtTipo_ = Place(MakeResultField(this, "txtTipo"), 1200, 1260, 2595, 285);
  lblDesc_[6] = Place(MakeLabel(this, "Classe rete:"), 120, 1560, 1035, 255);
  txtClasse_ = Place(MakeResultField(this, "txtClasse"), 1200, 1560, 2055, 285);
  cmdSet_ = Place(MakeButton(this, "cmdSet", "S&et"), 3360, 1500, 435, 375);
  cmdSet_->setEnabled(false);
  lblDesc_[2] = Place(MakeLabel(this, "Broadcast:"), 120, 1860, 1035, 255);
  txtBroadcast_ = Place(MakeResultField(this, "txtBroadcast"), 1200, 1860, 2595, 285);
  lblDesc_[3] = Place(MakeLabel(this, "Hosts:"), 120, 2160, 1035, 255);
  txtHosts_ = Place(MakeResultField(this, "txtHosts"), 1200, 2160, 2595, 285);
  lblDesc_[4] = Place(MakeLabel(this, "Network:"), 120, 2460, 1035, 255);
  txtNetwork_ = Place(MakeResultField(this, "txtNetwork"), 1200, 2460, 2595, 285);
  for (int i = 0; i < 8; ++i) {
    Name(lblDesc_[static_cast<std::size_t>(i)], "lblDesc", i);
  }

  // A label's access key focuses the control after it.
  lblDesc_[0]->setBuddy(txtIP_[0]);
  lblDesc_[1]->setBuddy(cmbMask_);
  DescribeForScreenReaders();
  // The frame lies beneath the fields, and the dots above the fields they overlap.
  Label1_->lower();
  for (QLabel* dot : lblDot_) {
    dot->raise();
  }
}

// Names and descriptions that a screen reader announces: the captions and tooltips that a
// sighted user reads next to each control.
void Form1Window::DescribeForScreenReaders() {
  const char* const ordinals[] = {"Primo", "Secondo", "Terzo", "Quarto"};
  for (int i = 0; i < 4; ++i) {
    QWidget* field = txtIP_[static_cast<std::size_t>(i)];
    field->setAccessibleName(QStringLiteral("Indirizzo IP, parte %1").arg(i + 1));
    field->setAccessibleDescription(QString::fromUtf8(ordinals[i]) +
                                    QStringLiteral(" ottetto dell'indirizzo IP, da 0 a 255"));
  }
  struct Described {
    QWidget* widget;
    const char* name;
    const char* description;
  };
  const Described described[] = {
      {cmdGetIpCli_, "CLI", "Imposta l'indirizzo IP privato di questo PC."},
      {CmdGetIpSrv_, "SRV", "Imposta l'indirizzo IP pubblico accedendo ad internet."},
      {cmbMask_, "Subnet Mask", "Maschera di sottorete: da /32 a /0"},
      {cmdCalc_, "Info", "Informazioni su Maskora"},
      {txtStato_, "Stato IP", "Se l'indirizzo IP può essere usato da un host"},
      {txtTipo_, "Tipo indirizzo", "Tipo dell'indirizzo IP"},
      {txtClasse_, "Classe rete", "Classe della rete e la sua maschera predefinita"},
      {cmdSet_, "Set", "Imposta la maschera predefinita della classe"},
      {txtBroadcast_, "Broadcast", "Indirizzo di broadcast della rete"},
      {txtHosts_, "Hosts", "Numero di host utilizzabili"},
      {txtNetwork_, "Network", "Indirizzo della rete"},
  };
  for (const Described& d : described) {
    d.widget->setAccessibleName(QString::fromUtf8(d.name));
    d.widget->setAccessibleDescription(QString::fromUtf8(d.description));
  }
}

void Form1Window::ConnectEvents() {
  for (OctetEdit* field : txtIP_) {
    field->SetForm(form_.get());
  }
  connect(cmbMask_, &QComboBox::currentIndexChanged, this,
          [this] { Dispatch([this] { form_->cmbMask_Click(); }); });
  connect(cmdSet_, &QPushButton::clicked, this,
          [this] { Dispatch([this] { form_->cmdSet_Click(); }); });
  connect(cmdCalc_, &QPushButton::clicked, this,
          [this] { Dispatch([this] { form_->cmdCalc_Click(); }); });
  connect(cmdGetIpCli_, &QPushButton::clicked, this,
          [this] { Dispatch([this] { form_->cmdGetIpCli_Click(); }); });
  connect(CmdGetIpSrv_, &QPushButton::clicked, this,
          [this] { Dispatch([this] { form_->CmdGetIpSrv_Click(); }); });
}

void Form1Window::Load() {
  Dispatch([this] { form_->Form_Load(); });
}

void Form1Window::closeEvent(QCloseEvent* event) {
  if (!unloaded_) {
    unloaded_ = true;
    Dispatch([this] { form_->Form_Unload(); });
  }
  event->accept();
}

std::optional<ControlRef> Form1Window::ActiveControl() const {
  const QWidget* focused = focusWidget();
  if (focused == nullptr || focused->objectName().isEmpty()) {
    return std::nullopt;
  }
  return ControlRef{focused->objectName().toStdString(), focused->property("maskoraIndex").toInt()};
}

void Form1Window::HookWheel() {
  if (wheelHook_ != nullptr) {
    wheelHook_->HookWheel();
  }
}

void Form1Window::UnhookWheel() {
  if (wheelHook_ != nullptr) {
    wheelHook_->UnhookWheel();
  }
}

}  // namespace maskora
