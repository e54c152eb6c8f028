// SPDX-License-Identifier: MIT
// The window going away while it is in use: destroyed with the focus in an octet field or during
// a public-address request, closed during one. The runtime and the address sources outlive the
// window, as in the program. Under the sanitizers a handler that runs on a half-destroyed window
// shows as a use after free.
#include <memory>

#include <QTimer>

#include "sources/address_lookups.h"
#include "tests/sources/fakes.h"
#include "tests/window/window_fixture.h"

namespace maskora::testing {
namespace {

class Lifetime : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<Form1Window>(runtime, sources, &boxes);
    window->Open();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Octet(2)->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(Octet(2)->hasFocus());
  }
  QLineEdit* Octet(int index) const {
    return qobject_cast<QLineEdit*>(window->Control(OctetId(index)));
  }
  QPushButton* SrvButton() const {
    return qobject_cast<QPushButton*>(window->Control(ControlId::CmdGetIpSrv));
  }
  // A request that waits in event passes until the window ends the wait, or answers after a
  // second.
  void WaitingRequest() {
    sources.onPublic = [this] {
      try {
        for (int pass = 0; pass < 20; ++pass) {
          runtime.ProcessPendingEvents();
        }
      } catch (const FormUnloaded&) {
        unwound = true;
        throw;
      }
      return Text(u"1.2.3.4");
    };
  }

  RecordingBoxes boxes;
  ScriptedSources sources;
  QtRuntime runtime;
  std::unique_ptr<Form1Window> window;
  bool unwound = false;
};

TEST_F(Lifetime, DestroyedWithTheFocusInAnOctetField) {
  Octet(2)->setText("");
  window.reset();
  EXPECT_EQ(sources.localCalls, 0);
}

TEST_F(Lifetime, DestroyedDuringARequest) {
  WaitingRequest();
  QTimer::singleShot(0, [this] { window.reset(); });
  SrvButton()->click();
  EXPECT_TRUE(unwound);
  EXPECT_EQ(window, nullptr);
  EXPECT_EQ(sources.localCalls, 0);
}

TEST_F(Lifetime, ClosedDuringARequest) {
  const QString network = qobject_cast<QLineEdit*>(window->Control(ControlId::txtNetwork))->text();
  WaitingRequest();
  QTimer::singleShot(0, [this] { window->close(); });
  SrvButton()->click();
  EXPECT_TRUE(unwound);
  EXPECT_FALSE(window->isVisible());
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Octet(i)->text(), "0");
  }
  EXPECT_EQ(qobject_cast<QLineEdit*>(window->Control(ControlId::txtNetwork))->text(), network);
  EXPECT_EQ(sources.localCalls, 0);
}

// A second click made while the first one waits runs to its end inside that wait; then the
// first one fills its own answer.
TEST(PublicAddress, NestedClicksEachFillTheirOwnAnswerInTurn) {
  RecordingBoxes boxes;
  FakeSockets sockets;
  FakeClientFactory clients;
  QtRuntime runtime;
  AddressLookups lookups{sockets, runtime, clients, u"127.0.0.1"};
  Form1Window window{runtime, lookups, &boxes};
  window.Open();
  window.show();
  auto* srv = qobject_cast<QPushButton*>(window.Control(ControlId::CmdGetIpSrv));
  const auto octets = [&window] {
    std::vector<QString> texts;
    for (int i = 0; i < 4; ++i) {
      texts.push_back(qobject_cast<QLineEdit*>(window.Control(OctetId(i)))->text());
    }
    return texts;
  };
  clients.script = {.completeOnRead = 4, .body = Bytes("1.1.1.1")};
  std::vector<QString> afterInnerClick;
  QTimer::singleShot(0, [&] {
    clients.script = {.completeOnRead = 1, .body = Bytes("2.2.2.2")};
    srv->click();
    afterInnerClick = octets();
  });
  srv->click();

  EXPECT_EQ(afterInnerClick, (std::vector<QString>{"2", "2", "2", "2"}));
  EXPECT_EQ(octets(), (std::vector<QString>{"1", "1", "1", "1"}));
  ASSERT_EQ(clients.logs.size(), 2u);
  EXPECT_EQ(clients.logs[0]->aborts, 1);
  EXPECT_EQ(clients.logs[1]->aborts, 1);
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace maskora::testing
