// SPDX-License-Identifier: MIT
// The Qt window as the description shapes it: places, fonts, tab order, access keys, what a
// screen reader announces, and the real modal About box.
#include <QAccessible>
#include <QLabel>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTimer>

#include "address/address.h"
#include "tests/window/window_fixture.h"

namespace maskora::testing {
namespace {

using Window = WindowTest;

int Pixels(int twips) {
  return TwipsToPixels(twips, 96);
}

QString Shown(std::u16string_view caption) {
  return ToQString(ShownCaption(caption));
}

// Whether a line edit shows the text whole: QLineEdit draws it within its contents less 2 px
// on either side. A field one types into keeps a pixel and the caret's width free after it;
// a result is shown from its start.
bool ShowsWhole(const QLineEdit* edit, const QString& text) {
  QStyleOptionFrame option;
  option.initFrom(edit);
  option.rect = edit->rect();
  option.lineWidth =
      edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
  const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
  const int room = contents.marginsRemoved(edit->textMargins()).width() - 2 * 2;
  const int caret =
      edit->isReadOnly() ? 0 : 1 + edit->style()->pixelMetric(QStyle::PM_TextCursorWidth);
  return edit->fontMetrics().horizontalAdvance(text) + caret <= room;
}

TEST_F(Window, ControlsStandWhereTheDescriptionPutsThem) {
  EXPECT_EQ(window.windowTitle(), ToQString(kForm1.caption));
  EXPECT_EQ(window.size(), QSize(Pixels(kForm1.clientWidth), Pixels(kForm1.clientHeight)));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  for (const ControlDescription& c : kForm1Controls) {
    QWidget* widget = window.Control(c.id);
    const std::string name = widget->objectName().toStdString() + " " + std::to_string(c.index);
    EXPECT_EQ(widget->geometry(), QRect(Pixels(c.place.left), Pixels(c.place.top),
                                        Pixels(c.place.width), Pixels(c.place.height)))
        << name;
    EXPECT_EQ(widget->toolTip(), ToQString(c.toolTip)) << name;
    // What is seen at the control's centre: the frame lies beneath the fields, the dots above.
    const QPoint centre = widget->geometry().center();
    if (c.kind == ControlKind::AddressFrame) {
      EXPECT_NE(window.childAt(centre), widget);
    } else {
      EXPECT_EQ(window.childAt(centre), widget) << name;
    }
  }
  // Before the load event: the initial texts and states.
  const Form1Window unloaded(runtime, sources, &boxes);
  for (const ControlDescription& c : kForm1Controls) {
    EXPECT_EQ(unloaded.Control(c.id)->isEnabled(), !(c.flags & kDisabled)) << c.name;
    if (auto* edit = qobject_cast<QLineEdit*>(unloaded.Control(c.id))) {
      EXPECT_EQ(edit->text(), ToQString(c.caption)) << c.name;
      EXPECT_EQ(edit->isReadOnly(), (c.flags & kReadOnly) != 0) << c.name;
    }
  }
}

TEST_F(Window, EveryCaptionAndResultShowsWhole) {
  for (const ControlDescription& c : kForm1Controls) {
    if (c.kind == ControlKind::Label || c.kind == ControlKind::Button) {
      QWidget* widget = window.Control(c.id);
      const QString caption = Shown(c.caption).trimmed();
      EXPECT_LE(widget->fontMetrics().horizontalAdvance(caption), widget->contentsRect().width())
          << caption.toStdString();
    }
  }
  EXPECT_TRUE(ShowsWhole(Octet(0), "255"));
  // The longest text of each result over addresses of every kind and every mask.
  const std::array<std::array<double, 4>, 10> addresses = {{{0, 0, 0, 0},
                                                            {10, 1, 2, 3},
                                                            {127, 0, 0, 1},
                                                            {169, 254, 1, 1},
                                                            {192, 0, 2, 255},
                                                            {192, 88, 99, 1},
                                                            {198, 18, 0, 1},
                                                            {224, 0, 0, 1},
                                                            {255, 255, 255, 255},
                                                            {203, 0, 113, 7}}};
  const std::array<std::pair<ControlId, std::string SubnetResult::*>, 6> results = {{
      {ControlId::txtStato, &SubnetResult::StatusText},
      {ControlId::txtTipo, &SubnetResult::TypeText},
      {ControlId::txtClasse, &SubnetResult::ClassText},
      {ControlId::txtBroadcast, &SubnetResult::BroadcastText},
      {ControlId::txtHosts, &SubnetResult::HostsText},
      {ControlId::txtNetwork, &SubnetResult::NetworkText},
  }};
  for (const auto& [id, text] : results) {
    QString longest;
    for (const auto& octets : addresses) {
      for (int hostBits = 0; hostBits <= 32; ++hostBits) {
        const QString shown = QString::fromStdString(EvaluateSubnet(octets, hostBits).*text);
        if (Edit(id)->fontMetrics().horizontalAdvance(shown) >
            Edit(id)->fontMetrics().horizontalAdvance(longest)) {
          longest = shown;
        }
      }
    }
    EXPECT_TRUE(ShowsWhole(Edit(id), longest)) << longest.toStdString();
  }
}

// QComboBox keeps its style option to itself; a subclass may name the function for any combo.
struct ComboOptions : QComboBox {
  static QStyleOptionComboBox Of(const QComboBox* combo) {
    QStyleOptionComboBox option;
    (combo->*&ComboOptions::initStyleOption)(&option);
    return option;
  }
};

TEST_F(Window, EveryMaskShowsWholeInTheClosedList) {
  const QStyleOptionComboBox option = ComboOptions::Of(List());
  // The label is drawn in the edit field less a pixel on either side.
  const int room =
      List()
          ->style()
          ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, List())
          .width() -
      2;
  ASSERT_EQ(List()->count(), 33);
  for (int i = 0; i < List()->count(); ++i) {
    EXPECT_LE(List()->fontMetrics().horizontalAdvance(List()->itemText(i)), room)
        << List()->itemText(i).toStdString();
  }
}

TEST_F(Window, TabVisitsTheTabStopsInTheDescriptionsOrder) {
  std::vector<ControlId> stops;
  for (const ControlDescription& c : kForm1Controls) {
    if (c.flags & kTabStop) {
      stops.push_back(c.id);
    }
  }
  window.Control(stops.front())->setFocus(Qt::TabFocusReason);
  for (std::size_t i = 1; i <= stops.size(); ++i) {
    Key(Qt::Key_Tab);
    const ControlId expected = stops[i % stops.size()];
    ASSERT_EQ(Focused(), expected) << Describe(expected).name << " " << i;
  }
}

TEST_F(Window, AccessKeysFocusTheNextControlOrClickTheButton) {
  std::map<ControlId, int> clicks;
  for (const ControlDescription& c : kForm1Controls) {
    if (c.kind == ControlKind::Button) {
      QObject::connect(Button(c.id), &QPushButton::clicked, [&clicks, id = c.id] { ++clicks[id]; });
    }
  }
  int keys = 0;
  for (const ControlDescription& c : kForm1Controls) {
    const char16_t key = AccessKey(c.caption);
    if (key == 0) {
      continue;
    }
    ++keys;
    window.Control(ControlId::txtStato)->setFocus(Qt::OtherFocusReason);
    Key(static_cast<Qt::Key>(Qt::Key_A + (key - u'a')), Qt::AltModifier);
    if (c.kind == ControlKind::Label) {
      auto next = static_cast<std::size_t>(c.id) + 1;
      while (!(kForm1Controls[next].flags & kTabStop)) {
        ++next;
      }
      EXPECT_EQ(Focused(), kForm1Controls[next].id) << c.name;
    } else {
      EXPECT_TRUE(QTest::qWaitFor([&] { return clicks[c.id] == 1; })) << c.name;
    }
  }
  EXPECT_EQ(keys, 6);
  EXPECT_EQ(boxes.shown.size(), 1u);

  // A disabled button's key clicks nothing, and types nothing into the field with the focus.
  SetOctets({"224", "1", "2", "3"});
  List()->setCurrentIndex(9);
  ASSERT_FALSE(Button(ControlId::cmdSet)->isEnabled());
  Focus(3);
  Key(Qt::Key_E, Qt::AltModifier);
  QTest::qWait(200);
  EXPECT_EQ(clicks[ControlId::cmdSet], 1);
  EXPECT_EQ(Octet(3)->text(), "3");
}

TEST_F(Window, ScreenReadersHearTheDescriptionsNames) {
  int described = 0;
  for (const ControlDescription& c : kForm1Controls) {
    if (c.accessibleName.empty()) {
      continue;
    }
    ++described;
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window.Control(c.id));
    ASSERT_NE(face, nullptr) << c.name;
    // On Linux a list's name is its current entry, and its label names it (below).
    if (c.kind != ControlKind::MaskList) {
      EXPECT_EQ(face->text(QAccessible::Name), ToQString(c.accessibleName)) << c.name;
    }
    EXPECT_EQ(face->text(QAccessible::Description), ToQString(c.accessibleDescription)) << c.name;
  }
  EXPECT_EQ(described, 15);
  // A list is also named by its label, through the labelled-by relation.
  bool labelled = false;
  for (const auto& [other, relation] :
       QAccessible::queryAccessibleInterface(List())->relations(QAccessible::Label)) {
    labelled =
        labelled || other->text(QAccessible::Name) == Shown(Describe(ControlId::lblDesc1).caption);
  }
  EXPECT_TRUE(labelled);
}

TEST(OwnMessageBoxes, AboutBoxOverTheWindowLeavesFieldsAndFocusAsTheyWere) {
  // The window's own boxes, real and modal: opening and closing one must neither leave nor enter
  // the octet field.
  ScriptedSources sources;
  QtRuntime runtime;
  const auto window = std::make_unique<Form1Window>(runtime, sources);
  window->Open();
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  auto* octet = qobject_cast<QLineEdit*>(window->Control(ControlId::txtIP0));
  octet->setFocus(Qt::TabFocusReason);
  QtTextField(octet).SetText(u"999");
  octet->setSelection(1, 1);
  QString shownTitle;
  const QWidget* parent = nullptr;
  QTimer::singleShot(100, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    shownTitle = box->windowTitle();
    parent = box->parentWidget();
    box->close();
  });
  qobject_cast<QPushButton*>(window->Control(ControlId::cmdCalc))->click();
  QApplication::processEvents();
  EXPECT_EQ(shownTitle, ToQString(kForm1.appTitle));
  EXPECT_EQ(parent, window.get());
  EXPECT_EQ(octet->text(), "999");
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_TRUE(octet->hasFocus());
  EXPECT_EQ(octet->selectedText(), "9");
}

TEST_F(Window, ResultFieldsRefuseTypingButCanBeCopied) {
  QLineEdit* hosts = Edit(ControlId::txtHosts);
  hosts->setFocus();
  const QString before = hosts->text();
  Type("12");
  Key(Qt::Key_Backspace);
  EXPECT_EQ(hosts->text(), before);
  hosts->selectAll();
  EXPECT_EQ(hosts->selectedText(), before);
}

}  // namespace
}  // namespace maskora::testing
