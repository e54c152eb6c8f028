// SPDX-License-Identifier: MIT
// Ten thousand random user actions on the real window. After each one the window must hold
// together: at most three digits in a field where nothing was pasted, and the results those of
// the fields' texts.
#include <cstdlib>
#include <random>

#include <QClipboard>
#include <QWheelEvent>

#include "address/address.h"
#include "core/text.h"
#include "tests/window/window_fixture.h"

namespace maskora::testing {
namespace {

class RandomActions : public WindowTest {
 protected:
  std::mt19937 rng;

  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng); }

  void Wheel(QPoint angle, Qt::KeyboardModifiers modifiers) {
    QWidget* over = Pick(2) == 0 ? static_cast<QWidget*>(List()) : Octet(Pick(4));
    const QPoint global = over->mapToGlobal(over->rect().center());
    QWheelEvent event(window.windowHandle()->mapFromGlobal(global), QPointF(global), QPoint(),
                      angle, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window.windowHandle(), &event);
  }

  // Returns what the action did, for the failure message.
  std::string Act() {
    static const char typed[] = "0123456789012345678901234567890123456789..ax/";
    static const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Right,
                                   Qt::Key_Up,        Qt::Key_Down, Qt::Key_Tab};
    const int kind = Pick(100);
    if (kind < 50) {
      const char ch = typed[Pick(sizeof typed - 1)];
      Type(QString(QChar(ch)));
      return std::string("type ") + ch;
    }
    if (kind < 55) {
      const char ch = "x.5e"[Pick(4)];
      QTest::keyClick(window.windowHandle(), ch, Qt::AltModifier);
      return std::string("alt+") + ch;
    }
    if (kind < 78) {
      const Qt::Key key = keys[Pick(6)];
      Key(key);
      return "key " + QKeySequence(key).toString().toStdString();
    }
    if (kind < 84) {
      static const QString pool = "0123456789.-a x/";
      QString clip;
      for (int n = Pick(12); n > 0; --n) {
        clip += pool[Pick(static_cast<int>(pool.size()))];
      }
      QApplication::clipboard()->setText(clip);
      Key(Pick(2) == 0 ? Qt::Key_V : Qt::Key_Insert,
          Pick(2) == 0 ? Qt::ControlModifier : Qt::ShiftModifier);
      return "paste '" + clip.toStdString() + "'";
    }
    if (kind < 90) {
      const int turn = (Pick(2) == 0 ? 1 : -1) * (1 + Pick(240));
      const bool sideways = Pick(3) == 0;
      const bool alt = Pick(2) == 0;
      Wheel(sideways ? QPoint(turn, 0) : QPoint(0, turn), alt ? Qt::AltModifier : Qt::NoModifier);
      return "wheel " + std::to_string(turn) + (sideways ? " sideways" : "") + (alt ? " alt" : "");
    }
    if (kind < 94) {
      const int mask = Pick(33);
      List()->setCurrentIndex(mask);
      return "mask " + std::to_string(mask);
    }
    if (kind < 96) {
      QTest::mouseClick(Button(ControlId::cmdSet), Qt::LeftButton);
      return "click Set";
    }
    const int field = Pick(4);
    QTest::mouseClick(Octet(field), Qt::LeftButton, Qt::NoModifier, QPoint(1 + Pick(19), 8));
    return "click field " + std::to_string(field);
  }

  void CheckWindow(std::array<bool, 4>& pasted) {
    std::array<double, 4> octets{};
    for (std::size_t i = 0; i < 4; ++i) {
      const QString text = Octet(static_cast<int>(i))->text();
      const bool digits =
          std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
      pasted[i] = pasted[i] && !digits;
      // A pasted fraction that the wheel or Up steps is written back whole ("0.77" to "1.77").
      ASSERT_TRUE((digits && text.size() <= 3) || pasted[i])
          << "field " << i << " '" << text.toStdString() << "'";
      octets[i] = LeadingNumber(Narrow(ToText(text)));
    }
    const SubnetResult r = EvaluateSubnet(octets, List()->currentIndex());
    const std::vector<QString> expected = {
        QString::fromStdString(r.StatusText), QString::fromStdString(r.TypeText),
        QString::fromStdString(r.ClassText),  QString::fromStdString(r.BroadcastText),
        QString::fromStdString(r.HostsText),  QString::fromStdString(r.NetworkText)};
    std::vector<QString> shown;
    for (const ControlId id :
         {ControlId::txtStato, ControlId::txtTipo, ControlId::txtClasse, ControlId::txtBroadcast,
          ControlId::txtHosts, ControlId::txtNetwork}) {
      shown.push_back(Edit(id)->text());
    }
    ASSERT_EQ(shown, expected);
    ASSERT_EQ(Button(ControlId::cmdSet)->isEnabled(), r.ClassHostBits.has_value());
  }
};

TEST_F(RandomActions, KeepTheWindowConsistent) {
  const char* fromEnvironment = std::getenv("MASKORA_RANDOM_SEED");
  const unsigned seed =
      fromEnvironment != nullptr ? std::strtoul(fromEnvironment, nullptr, 10) : 20261207u;
  rng.seed(seed);
  std::array<bool, 4> pasted{};
  std::string last = "start";
  for (int step = 0; step < 10000; ++step) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(step) + ": " + last);
    CheckWindow(pasted);
    if (HasFatalFailure()) {
      return;
    }
    const std::optional<ControlId> focused = Focused();
    last = Act();
    if (focused && Describe(*focused).kind == ControlKind::OctetField &&
        last.rfind("paste", 0) == 0) {
      pasted[static_cast<std::size_t>(Describe(*focused).index)] = true;
    }
  }
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace maskora::testing
