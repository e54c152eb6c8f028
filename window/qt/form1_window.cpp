// SPDX-License-Identifier: MIT
#include "window/qt/form1_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QLabel>
#include <QPalette>

#include "window/qt/input_controls.h"

namespace maskora {

namespace {

// Qt's logical pixels are pixels at 96 dots per inch.
constexpr int kLogicalDpi = 96;
// The space that QLineEdit keeps between its contents rectangle and its text, on either side.
constexpr int kLineEditMargin = 2;

int Pixels(int twips) {
  return TwipsToPixels(twips, kLogicalDpi);
}

void Paint(QWidget* widget, QPalette::ColorRole background) {
  QPalette palette = widget->palette();
  const QColor colour = QApplication::palette().color(background);
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::Base, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

// The next control after this one in tab order that takes the focus.
ControlId NextTabStop(ControlId id) {
  for (auto i = static_cast<std::size_t>(id) + 1; i < kForm1Controls.size(); ++i) {
    if (kForm1Controls[i].flags & kTabStop) {
      return kForm1Controls[i].id;
    }
  }
  return id;
}

}  // namespace

Form1Window::Form1Window(ToolkitRuntime& runtime, AddressSources& sources, MessageBoxes* dialogs)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
  setWindowTitle(ToQString(kForm1.caption));
  QFont font(QStringLiteral("DejaVu Sans Condensed"));
  font.setPixelSize(11);
  setFont(font);
  setFixedSize(Pixels(kForm1.clientWidth), Pixels(kForm1.clientHeight));

  // Made in tab order, which is also Qt's focus chain.
  for (const ControlDescription& control : kForm1Controls) {
    QWidget* widget = MakeControl(control);
    widget->setObjectName(
        QString::fromLatin1(control.name.data(), static_cast<qsizetype>(control.name.size())));
    widget->setGeometry(Pixels(control.place.left), Pixels(control.place.top),
                        Pixels(control.place.width), Pixels(control.place.height));
    widget->setToolTip(ToQString(control.toolTip));
    widget->setAccessibleName(ToQString(control.accessibleName));
    widget->setAccessibleDescription(ToQString(control.accessibleDescription));
    widget->setEnabled(!(control.flags & kDisabled));
    controls_[static_cast<std::size_t>(control.id)] = widget;
  }
  for (const ControlDescription& control : kForm1Controls) {
    if (control.kind == ControlKind::Label && AccessKey(control.caption) != 0) {
      static_cast<QLabel*>(Control(control.id))->setBuddy(Control(NextTabStop(control.id)));
    }
    if (control.flags & kBeneath) {
      Control(control.id)->lower();
    }
    // The dots draw only their glyph: on top, they stay visible without covering an octet.
    if (control.kind == ControlKind::Dot) {
      Control(control.id)->raise();
    }
  }

  if (dialogs == nullptr) {
    dialogs = &ownDialogs.emplace(this);
  }
  wheelHook.emplace(this, Control(ControlId::cmbMask),
                    [this](std::int32_t rotation) { host->MouseWheel(rotation); });
  host.emplace(static_cast<Form1Binding&>(*this), *dialogs, runtime, sources, *wheelHook);
  for (const ControlDescription& control : kForm1Controls) {
    QWidget* widget = Control(control.id);
    if (control.kind == ControlKind::OctetField) {
      static_cast<OctetEdit*>(widget)->Attach(*host);
    } else if (control.kind == ControlKind::MaskList) {
      auto* list = static_cast<MaskCombo*>(widget);
      list->Attach(*host);
      connect(list, &QComboBox::currentIndexChanged, this,
              [this] { host->Click(ControlId::cmbMask); });
    } else if (control.kind == ControlKind::Button) {
      connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this,
              [this, id = control.id] { host->Click(id); });
    }
  }
}

Form1Window::~Form1Window() {
  host->Detach();
}

QWidget* Form1Window::MakeControl(const ControlDescription& control) {
  const auto slot = static_cast<std::size_t>(control.id);
  switch (control.kind) {
    case ControlKind::OctetField:
    case ControlKind::ResultField: {
      QLineEdit* edit = control.kind == ControlKind::OctetField ? new OctetEdit(control.index, this)
                                                                : new QLineEdit(this);
      edit->setText(ToQString(control.caption));
      edit->setFrame(control.flags & kBorder);
      if (!(control.flags & kBorder)) {
        // Without a frame the text may take the whole width: a line edit keeps 2 px on either
        // side, and "255" would not fit the narrow octet field.
        edit->setTextMargins(-kLineEditMargin, 0, -kLineEditMargin, 0);
      }
      edit->setReadOnly(control.flags & kReadOnly);
      if (control.flags & kCentred) {
        edit->setAlignment(Qt::AlignCenter);
      }
      if (control.flags & kButtonColour) {
        Paint(edit, QPalette::Button);
      }
      fields[slot] = std::make_unique<QtTextField>(edit);
      return edit;
    }
    case ControlKind::MaskList: {
      auto* list = new MaskCombo(this);
      list->setMaxVisibleItems(12);
      // The style leaves the closed list's text 2 px less than its widest entries need; a
      // narrower padding at the left makes room. The style still draws everything else.
      list->setStyleSheet(QStringLiteral("QComboBox { padding-left: 2px; }"));
      maskList = std::make_unique<QtDropDownList>(list);
      return list;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(ToQString(control.caption), this);
      button->setAutoDefault(false);
      if (control.id == ControlId::cmdSet) {
        setButton = std::make_unique<QtPushButton>(button);
      }
      return button;
    }
    case ControlKind::Label:
    case ControlKind::AddressFrame:
    case ControlKind::Dot:
      break;
  }
  auto* label = new QLabel(ToQString(control.caption), this);
  label->setTextFormat(Qt::PlainText);
  if (control.flags & kBorder) {
    label->setFrameShape(QFrame::Box);
  }
  if (control.kind == ControlKind::Dot) {
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
  } else if (control.flags & kWindowColour) {
    Paint(label, QPalette::Base);
  }
  return label;
}

TextField& Form1Window::Field(ControlId id) {
  return *fields[static_cast<std::size_t>(id)];
}

std::optional<ControlId> Form1Window::ActiveControl() const {
  const QWidget* focused = focusWidget();
  for (const ControlDescription& control : kForm1Controls) {
    const QWidget* widget = Control(control.id);
    if (focused != nullptr && (focused == widget || widget->isAncestorOf(focused))) {
      return control.id;
    }
  }
  return std::nullopt;
}

void Form1Window::Beep() {
  QApplication::beep();
}

void Form1Window::closeEvent(QCloseEvent* event) {
  host->Unload();
  event->accept();
}

void Form1Window::Open(const std::optional<AddressEntry>& address) {
  host->Load();
  if (address) {
    host->EnterAddress(*address);
  }
}

}  // namespace maskora
