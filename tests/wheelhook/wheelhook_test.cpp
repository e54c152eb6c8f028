// SPDX-License-Identifier: MIT
#include "wheelhook/wheelhook.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace maskora {
namespace {

TEST(DecodeWheelParams, SplitsWordsWithTheirSigns) {
  struct Case {
    std::string name;
    std::uint32_t wParam;
    std::uint32_t lParam;
    WheelParams expected;
  };
  const std::vector<Case> cases = {
      {"one notch away", 0x00780000u, 0x00C80064u, {0, 120, 100, 200}},
      {"one notch towards", 0xFF880000u, 0x00C80064u, {0, -120, 100, 200}},
      {"two notches with buttons", 0x00F00009u, 0x00000000u, {0x0009, 240, 0, 0}},
      {"keys are unsigned", 0x8000FFFFu, 0x00000000u, {65535, -32768, 0, 0}},
      {"monitor left and above", 0x00780000u, 0xFFF6FFECu, {0, 120, -20, -10}},
      {"far corners", 0x7FFF0000u, 0x80007FFFu, {0, 32767, 32767, -32768}},
      {"x negative only", 0x00780000u, 0x0064FC18u, {0, 120, -1000, 100}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeWheelParams(c.wParam, c.lParam), c.expected) << c.name;
  }
}

TEST(IsPointOverWindow, EdgesAreInsideAndFailuresAreTheOrigin) {
  struct Case {
    std::string name;
    std::optional<ScreenRect> rect;
    std::int32_t x;
    std::int32_t y;
    bool expected;
  };
  const ScreenRect form{100, 50, 500, 350};
  const ScreenRect leftMonitor{-1500, -300, -1100, 0};
  const std::vector<Case> cases = {
      {"inside", form, 300, 200, true},
      {"top-left corner", form, 100, 50, true},
      {"right edge", form, 500, 200, true},
      {"bottom edge", form, 300, 350, true},
      {"bottom-right corner", form, 500, 350, true},
      {"past right", form, 501, 200, false},
      {"past bottom", form, 300, 351, false},
      {"before left", form, 99, 200, false},
      {"above top", form, 300, 49, false},
      {"negative inside", leftMonitor, -1200, -100, true},
      {"negative right and bottom edge", leftMonitor, -1100, 0, true},
      {"negative before left", leftMonitor, -1501, -100, false},
      {"negative past right", leftMonitor, -1099, -100, false},
      {"failed query, origin", std::nullopt, 0, 0, true},
      {"failed query, one right", std::nullopt, 1, 0, false},
      {"failed query, one above", std::nullopt, 0, -1, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsPointOverWindow(c.rect, c.x, c.y), c.expected) << c.name;
  }
}

TEST(FormFromWindow, FirstMatchInCollectionOrder) {
  struct Case {
    std::string name;
    std::vector<WindowHandle> forms;
    WindowHandle window;
    std::optional<std::size_t> expected;
  };
  const std::vector<Case> cases = {
      {"no forms", {}, 100, std::nullopt},         {"only form", {100}, 100, 0},
      {"second form", {100, 200}, 200, 1},         {"first of two equal", {300, 200, 200}, 200, 1},
      {"no match", {100, 200}, 300, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormFromWindow(c.forms, c.window), c.expected) << c.name;
  }
}

constexpr WindowHandle kOtherForm = 100;
constexpr WindowHandle kForm = 200;
constexpr WindowHandle kChild = 300;
constexpr WindowHandle kStray = 400;  // a window that is not a loaded form
const std::vector<WindowHandle> kLoaded = {kOtherForm, kForm};

// The form at 100,50 .. 500,350; a child control on it at 150,80 .. 250,100.
WindowFacts FormFacts() {
  return {kForm, 0, ScreenRect{100, 50, 500, 350}, std::nullopt, 0};
}
WindowFacts ChildFacts() {
  return {kChild, kForm, ScreenRect{150, 80, 250, 100}, ScreenRect{100, 50, 500, 350}, 0};
}

TEST(DecideWheel, EveryBranch) {
  struct Case {
    std::string name;
    std::uint32_t message;
    WheelParams params;
    WindowFacts facts;
    std::optional<std::size_t> form;
    WheelOutcome outcome;
  };
  WindowFacts leftMonitorForm = FormFacts();
  leftMonitorForm.windowRect = ScreenRect{-1500, -300, -1100, 0};
  WindowFacts failedRect = FormFacts();
  failedRect.windowRect = std::nullopt;
  WindowFacts openList = ChildFacts();
  openList.droppedState = 1;
  WindowFacts otherAnswer = ChildFacts();
  otherAnswer.droppedState = 2;
  WindowFacts strayParent = ChildFacts();
  strayParent.parent = kStray;
  WindowFacts failedChildRect = ChildFacts();
  failedChildRect.windowRect = std::nullopt;
  WindowFacts failedParentRect = ChildFacts();
  failedParentRect.parentRect = std::nullopt;
  WindowFacts orphan = ChildFacts();
  orphan.parent = 0;
  orphan.parentRect = std::nullopt;

  const auto pass = WheelOutcome::PassOn;
  const auto consume = WheelOutcome::Consume;
  const std::size_t form = 1;
  const std::vector<Case> cases = {
      {"mouse move on form", 0x0200, {0, 120, 300, 200}, FormFacts(), std::nullopt, pass},
      {"horizontal wheel on form", 0x020E, {0, 120, 300, 200}, FormFacts(), std::nullopt, pass},
      {"form, notch away", kWmMouseWheel, {0, 120, 300, 200}, FormFacts(), form, pass},
      {"form, notch towards", kWmMouseWheel, {0x0004, -120, 300, 200}, FormFacts(), form, pass},
      {"form, right edge", kWmMouseWheel, {0, 120, 500, 200}, FormFacts(), form, pass},
      {"form, bottom edge", kWmMouseWheel, {0, 120, 300, 350}, FormFacts(), form, pass},
      {"form, past right", kWmMouseWheel, {0, 120, 501, 200}, FormFacts(), std::nullopt, pass},
      {"form, left monitor", kWmMouseWheel, {0, 120, -1200, -10}, leftMonitorForm, form, pass},
      {"form, left of left monitor",
       kWmMouseWheel,
       {0, 120, -1600, -10},
       leftMonitorForm,
       std::nullopt,
       pass},
      {"form, failed rect, origin", kWmMouseWheel, {0, 120, 0, 0}, failedRect, form, pass},
      {"form, failed rect, elsewhere",
       kWmMouseWheel,
       {0, 120, 300, 200},
       failedRect,
       std::nullopt,
       pass},
      {"child, over itself", kWmMouseWheel, {0, 120, 200, 90}, ChildFacts(), std::nullopt, pass},
      {"child, on its right edge",
       kWmMouseWheel,
       {0, 120, 250, 100},
       ChildFacts(),
       std::nullopt,
       pass},
      {"child, over its form", kWmMouseWheel, {0, -120, 300, 200}, ChildFacts(), form, consume},
      {"child, just past it", kWmMouseWheel, {0, 120, 251, 100}, ChildFacts(), form, consume},
      {"child, outside its form",
       kWmMouseWheel,
       {0, 120, 600, 200},
       ChildFacts(),
       std::nullopt,
       pass},
      {"child, open list", kWmMouseWheel, {0, 120, 300, 200}, openList, std::nullopt, pass},
      {"child, answer other than 1", kWmMouseWheel, {0, 120, 300, 200}, otherAnswer, form, consume},
      {"child, parent not a form",
       kWmMouseWheel,
       {0, 120, 300, 200},
       strayParent,
       std::nullopt,
       pass},
      {"child without parent", kWmMouseWheel, {0, 120, 300, 200}, orphan, std::nullopt, pass},
      {"child, failed rect, origin",
       kWmMouseWheel,
       {0, 120, 0, 0},
       failedChildRect,
       std::nullopt,
       pass},
      {"child, failed rect, over form",
       kWmMouseWheel,
       {0, 120, 300, 200},
       failedChildRect,
       form,
       consume},
      {"child, failed parent rect",
       kWmMouseWheel,
       {0, 120, 300, 200},
       failedParentRect,
       std::nullopt,
       pass},
  };
  for (const auto& c : cases) {
    const WheelDecision d = DecideWheel(c.message, c.params, c.facts, kLoaded);
    EXPECT_EQ(d.form, c.form) << c.name;
    EXPECT_EQ(d.outcome, c.outcome) << c.name;
    EXPECT_EQ(d.params, c.params) << c.name;
  }
}

TEST(DecideWheel, ChildOnLeftMonitorFromRawWords) {
  // Form at -1500,-300 .. -1100,0; child at -1400,-250 .. -1300,-230. The pointer at
  // (-1200,-10) arrives as 0xFFF6FB50 and must read as negative to land on the form.
  const WindowFacts facts{kChild, kOtherForm, ScreenRect{-1400, -250, -1300, -230},
                          ScreenRect{-1500, -300, -1100, 0}, 0};
  const WheelParams params = DecodeWheelParams(0xFF880004u, 0xFFF6FB50u);
  const WheelDecision d = DecideWheel(kWmMouseWheel, params, facts, kLoaded);
  EXPECT_EQ(d.form, std::optional<std::size_t>(0));
  EXPECT_EQ(d.outcome, WheelOutcome::Consume);
  EXPECT_EQ(d.params, (WheelParams{0x0004, -120, -1200, -10}));
}

}  // namespace
}  // namespace maskora
