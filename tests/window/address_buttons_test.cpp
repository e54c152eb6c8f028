// The public-address button with the real lookups and event passes: a second click made while
// the first one waits runs to its end inside that wait, then the first one fills its answer.
#include <gtest/gtest.h>

#include <QTimer>

#include "sources/address_lookups.h"
#include "tests/sources/fakes.h"
#include "tests/window/window_fixture.h"

namespace maskora::testing {
namespace {

class AddressButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    window.Load();
    window.show();
  }
  std::vector<QString> Octets() const {
    std::vector<QString> texts;
    for (int i = 0; i < 4; ++i) {
      texts.push_back(window.txtIP(i)->text());
    }
    return texts;
  }

  RecordingBoxes boxes;
  FakeSockets sockets;
  FakeClientFactory clients;
  QtRuntime runtime;
  AddressLookups lookups{sockets, boxes, runtime, clients, u"127.0.0.1"};
  Form1Window window{boxes, runtime, lookups};
};

TEST_F(AddressButtons, NestedPublicAddressClicksEachFillTheirOwnAnswerInTurn) {
  clients.script = {.completeOnRead = 4, .body = Bytes("1.1.1.1")};
  std::vector<QString> afterInnerClick;
  QTimer::singleShot(0, [&] {
    clients.script = {.completeOnRead = 1, .body = Bytes("2.2.2.2")};
    window.CmdGetIpSrv()->click();
    afterInnerClick = Octets();
  });
  window.CmdGetIpSrv()->click();

  EXPECT_EQ(afterInnerClick, (std::vector<QString>{"2", "2", "2", "2"}));
  EXPECT_EQ(Octets(), (std::vector<QString>{"1", "1", "1", "1"}));
  EXPECT_EQ(window.txtNetwork()->text(), "1.1.1.0");
  ASSERT_EQ(clients.logs.size(), 2u);
  EXPECT_EQ(clients.logs[0]->aborts, 1);
  EXPECT_EQ(clients.logs[1]->aborts, 1);
  EXPECT_TRUE(boxes.shown.empty());
}

}  // namespace
}  // namespace maskora::testing
