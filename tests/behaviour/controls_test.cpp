// The engine and fuel controls: the quadrant's shared lever frame, its click areas and
// trim pointer; the engine selector and START button in every load order; the propeller
// logic; the crossfeed, flap and gear gauges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "gauges/controls/throttle.h"
#include "host/core/host.h"
#include "host/sim/model.h"
#include "tests/behaviour/support.h"

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
namespace t = vk4::throttle;

class Controls : public ::testing::Test {
 protected:
  host::Host host;
  host::Instance& place(const char* name) { return host.place(host.load(test::module_file(name))); }
  host::Instance& gauge(const char* name) {
    host::Instance* g = host.find(name);
    return g != nullptr ? *g : place(name);
  }
  const std::vector<host::ElementState>& cycle(host::Instance& g) {
    g.update();
    g.draw();
    return g.elements();
  }
  std::vector<host::KeyEvent> events_of_click(host::Instance& g, PIXPOINT p) {
    host.clear_events();
    host.click(g, p);
    return host.events();
  }
};

// ---- the engine control quadrant ----

constexpr size_t port_hp = 1, starboard_hp = 2, trim = 3, flap = 4, port_rpm = 5, starboard_rpm = 6;

TEST_F(Controls, HpCockLeversShowShutOpenAndLockOut) {
  host::Instance& q = gauge("vk4_throttle");
  const std::pair<double, int> cases[] = {{0, 0}, {-0.0, 0}, {0.25, 1}, {0.999, 1}, {1e-300, 1}, {1, 2}};
  for (auto [v, frame] : cases) {
    host.variables().set(0x230, v);
    host.variables().set(0x23A, v);
    EXPECT_EQ(cycle(q)[port_hp].value, frame) << v;
    EXPECT_EQ(q.elements()[starboard_hp].value, frame) << v;
  }
}

TEST_F(Controls, TheFourLeversShareOneFrameInTheOrderTheHostEvaluatesThem) {
  host::Instance& q = gauge("vk4_throttle");
  host.variables().set(0x230, 1.5);  // out of range: the port lever keeps lever_frame
  EXPECT_EQ(cycle(q)[port_hp].value, 0) << "right after the first-draw reset";
  host.variables().set(0x80, 0);
  host.variables().set(0xA3, 12800);  // the starboard R.P.M. lever computes frame 4, last
  EXPECT_EQ(cycle(q)[starboard_rpm].value, 4);
  EXPECT_EQ(cycle(q)[port_hp].value, 4) << "the port H.P. cock returns the last frame any lever computed";
  EXPECT_EQ(q.elements()[port_hp].frame, 2) << "the host shows its last frame for 4";
  host.variables().set(0x23A, 0.25);  // the starboard H.P. cock sets 1 between them
  host.variables().set(0x230, -0.5);
  EXPECT_EQ(cycle(q)[port_hp].value, 4);
  EXPECT_EQ(q.elements()[starboard_hp].value, 1);
  host.variables().set(0x230, nan);
  EXPECT_EQ(cycle(q)[port_hp].value, 4) << "the previous draw ended with the starboard R.P.M. lever's 4";
}

TEST_F(Controls, RpmLeversStepEvery3200AndTruncateSoundly) {
  host::Instance& q = gauge("vk4_throttle");
  const std::pair<double, double> cases[] = {
      {0, 0},     {3199, 0}, {3200, 1},   {6399, 1},    {12800, 4}, {16383, 5},
      {19200, 6}, {-1, 0},   {-3199, 0},  {-3200, -1},  {nan, 0},   {1e300, 2147483647.0},
      {-1e300, -2147483648.0}, {std::numeric_limits<double>::infinity(), 2147483647.0}};
  for (auto [position, value] : cases) {
    host.variables().set(0x80, position);
    host.variables().set(0xA3, position);
    EXPECT_EQ(cycle(q)[port_rpm].value, value) << position;
    EXPECT_EQ(q.elements()[starboard_rpm].value, value) << position;
  }
  host.variables().set(0x80, 19200);
  EXPECT_EQ(cycle(q)[port_rpm].frame, 5) << "past the last frame the host shows MAX";
}

TEST_F(Controls, TheFlapLeverIsNotClampedAndTheTrimPointerTravels) {
  host::Instance& q = gauge("vk4_throttle");
  const std::pair<double, double> flaps[] = {{0, 0}, {4096, 1}, {6144, 1.5}, {16384, 4}, {20000, 4.8828125}, {-4096, -1}};
  for (auto [handle, value] : flaps) {
    host.variables().set(0x148, handle);
    EXPECT_EQ(cycle(q)[flap].value, value) << handle;
  }
  // Top row 33 + (trim + 0.26) x 321.15...: tip (rows 4 and 5 of the pointer) on the marks.
  const std::pair<double, double> trims[] = {{-0.26, 0}, {0, 83.5}, {0.26, 167}, {-0.195, 20.875}};
  for (auto [trim_value, offset] : trims) {
    host.variables().set(0x30F, trim_value);
    const auto& s = cycle(q)[trim];
    EXPECT_NEAR(s.offset_y, offset, 1e-9) << trim_value;
    EXPECT_EQ(s.offset_x, 0) << "x scale 0 holds the column";
  }
  EXPECT_NEAR(t::trim_at.y + 0 + 4.5, t::trim_marks[0] - 0.5, 1.0) << "-0.26: the tip on the top mark";
  EXPECT_NEAR(t::trim_at.y + 167 + 4.5, t::trim_marks[8] - 0.5, 1.0) << "+0.26: the tip on the bottom mark";
  EXPECT_NEAR(t::trim_at.y + 83.5 + 4.5, t::trim_marks[4], 1.0) << "0: the tip on the 0 mark";
}

TEST_F(Controls, HpCockAreasSendTheirPositionAndTheGapsSendNothing) {
  host::Instance& q = gauge("vk4_throttle");
  struct Click {
    PIXPOINT at;
    std::vector<host::KeyEvent> sent;
  };
  const Click cases[] = {
      {{127, 60}, {{0x1017F, 16384}}}, {{126, 96}, {{0x1017F, 4096}}},  {{126, 134}, {{0x1017F, 0}}},
      {{268, 59}, {{0x10180, 16384}}}, {{269, 95}, {{0x10180, 4096}}},  {{269, 135}, {{0x10180, 0}}},
      {{109, 44}, {{0x1017F, 16384}}}, {{144, 75}, {{0x1017F, 16384}}}, {{107, 150}, {{0x1017F, 0}}},
      {{120, 77}, {}}, {{120, 78}, {}},  // between port LOCK OUT and OPEN
      {{120, 113}, {}}, {{120, 116}, {}},  // between port OPEN and SHUT
      {{260, 74}, {}}, {{260, 76}, {}}, {{260, 113}, {}}, {{260, 117}, {}},
      {{146, 60}, {}}, {{30, 100}, {}}, {{197, 120}, {}}, {{347, 100}, {}},  // levers without areas
  };
  for (const Click& c : cases) EXPECT_EQ(events_of_click(q, c.at), c.sent) << c.at.x << ", " << c.at.y;
  host.variables().set(0x230, 0.25);
  cycle(q);
  EXPECT_EQ(events_of_click(q, {126, 96}), (std::vector<host::KeyEvent>{{0x1017F, 4096}})) << "already OPEN: sent again";
}

TEST_F(Controls, AClickMovesTheLeverOnlyWhenTheSimulatorReportsIt) {
  sim::Model model(host);
  host::Instance& q = gauge("vk4_throttle");
  cycle(q);
  host.click(q, {127, 60});
  EXPECT_EQ(q.elements()[port_hp].frame, 0) << "a click changes no picture";
  EXPECT_EQ(host.variables().get(0x230), 1.0);
  EXPECT_EQ(cycle(q)[port_hp].frame, 2);
  host.click(q, {126, 96});
  EXPECT_EQ(cycle(q)[port_hp].frame, 1);
}

// ---- the engine selector and START ----

TEST_F(Controls, TheSelectorFlipsAndTheStartButtonStartsTheSelectedEngine) {
  host::Instance& sel = place("vk4_engselect");
  host::Instance& start = place("vk4_engstart");
  host.install_all();
  cycle(sel);
  cycle(start);
  ASSERT_NE(host.named("engselect"), nullptr);
  auto selection = [&] { return *static_cast<int32_t*>(host.named("engselect")->storage); };
  EXPECT_EQ(selection(), 0);
  EXPECT_EQ(events_of_click(start, {25, 60}), (std::vector<host::KeyEvent>{{0x102FC, 0}})) << "LEFT";
  host.click(sel, {40, 20});
  EXPECT_EQ(selection(), 1);
  EXPECT_EQ(cycle(sel)[1].frame, 1) << "the lever to RIGHT";
  EXPECT_EQ(events_of_click(start, {25, 60}), (std::vector<host::KeyEvent>{{0x102FD, 0}})) << "RIGHT";
  host.click(sel, {40, 20});
  EXPECT_EQ(selection(), 0) << "two clicks bring it back";
  EXPECT_EQ(events_of_click(sel, {40, 20}), std::vector<host::KeyEvent>{}) << "the selector sends no event";

  // Holding START repeats the start event; releasing stops it.
  host.click(sel, {40, 20});
  ASSERT_EQ(selection(), 0);
  host.clear_events();
  host.press(start, {25, 60});
  host.advance(host::Host::repeat_delay + 2 * host::Host::repeat_interval);
  host.release();
  host.advance(1);
  EXPECT_EQ(host.events(), (std::vector<host::KeyEvent>(4, {0x102FC, 0})));
}

TEST_F(Controls, TheLampShowsTheSelectedEnginesStarter) {
  host::Instance& sel = place("vk4_engselect");
  host::Instance& start = place("vk4_engstart");
  host.install_all();
  host.variables().set(0x233, 1);
  host.variables().set(0x23D, 0);
  cycle(sel);
  EXPECT_EQ(cycle(start)[1].frame, 1) << "LEFT, engine 1 starting: lit";
  host.click(sel, {40, 20});
  EXPECT_EQ(cycle(start)[1].frame, 0) << "RIGHT: engine 2's starter, without a click on START";
  // A selection written by another party: nothing sent, the lamp the icon's own source.
  int32_t& s = *static_cast<int32_t*>(host.named("engselect")->storage);
  s = 2;
  EXPECT_TRUE(events_of_click(start, {25, 60}).empty());
  EXPECT_EQ(cycle(start)[1].value, 0);
  host.click(sel, {40, 20});
  EXPECT_EQ(s, -1) << "1 - 2";
  EXPECT_EQ(cycle(sel)[1].value, 4294967295.0) << "read unsigned";
  s = INT32_MIN;
  host.click(sel, {40, 20});
  EXPECT_EQ(s, INT32_MIN + 1) << "1 - INT32_MIN wraps in 32 bits";
}

TEST_F(Controls, EachModulesFirstDrawResetsTheSelection) {
  host::Instance& sel = place("vk4_engselect");
  host::Instance& start = place("vk4_engstart");
  host.install_all();
  host.click(sel, {40, 20});  // RIGHT before either has drawn
  auto selection = [&] { return *static_cast<int32_t*>(host.named("engselect")->storage); };
  EXPECT_EQ(selection(), 1);
  cycle(sel);
  EXPECT_EQ(selection(), 0) << "the selector's first draw";
  host.click(sel, {40, 20});
  EXPECT_EQ(selection(), 1);
  cycle(start);
  EXPECT_EQ(selection(), 0) << "the START module's first draw, through its binding";
  host.click(sel, {40, 20});
  cycle(sel);
  cycle(start);
  EXPECT_EQ(selection(), 1) << "later draws reset nothing";
}

TEST_F(Controls, StartBeforeTheSelectorIsThereDoesNothingAndBindsOnceItIs) {
  // START installed first: "engselect" is not published when it binds.
  host::Instance& start = place("vk4_engstart");
  start.install();
  start.initialise();
  host.variables().set(0x233, 1);
  EXPECT_EQ(cycle(start)[1].frame, 0) << "unbound: the lamp stays dark";
  EXPECT_TRUE(events_of_click(start, {25, 60}).empty()) << "unbound: nothing is sent";
  host::Instance& sel = place("vk4_engselect");
  sel.install();
  sel.initialise();
  EXPECT_EQ(cycle(start)[1].frame, 1) << "bound at the next pre-update";
  EXPECT_EQ(events_of_click(start, {25, 60}), (std::vector<host::KeyEvent>{{0x102FC, 0}}));
  cycle(sel);

  // The selector withdraws the name: the binding is detectably gone.
  sel.kill();
  EXPECT_EQ(host.named("engselect"), nullptr);
  EXPECT_TRUE(events_of_click(start, {25, 60}).empty());
  EXPECT_EQ(cycle(start)[1].frame, 0);
  // Unloaded altogether: its storage is gone, and the start module never touches it.
  host.unload(sel.module());
  EXPECT_TRUE(events_of_click(start, {25, 60}).empty());
  EXPECT_EQ(cycle(start)[1].frame, 0);
  // A new selector: the button works again.
  host::Instance& again = place("vk4_engselect");
  again.install();
  again.initialise();
  cycle(again);
  EXPECT_EQ(events_of_click(start, {25, 60}), std::vector<host::KeyEvent>{}) << "not bound until a pre-update";
  cycle(start);
  EXPECT_EQ(events_of_click(start, {25, 60}), (std::vector<host::KeyEvent>{{0x102FC, 0}}));
}

// ---- the propeller lights ----

class PropLights : public Controls {
 protected:
  host::Instance& g = place("vk4_proplights");
  void inputs(double rpm1, double lever1, double prop1, double flag, double rpm2 = 0, double lever2 = 0,
              double prop2 = 0) {
    host.variables().set(0x2BC, rpm1);
    host.variables().set(0x80, lever1);
    host.variables().set(0x22F, prop1);
    host.variables().set(0x3C, flag);
    host.variables().set(0x2C4, rpm2);
    host.variables().set(0xA3, lever2);
    host.variables().set(0x239, prop2);
  }
  std::vector<host::KeyEvent> update() {
    host.clear_events();
    g.update();
    return host.events();
  }
};

TEST_F(PropLights, The32DegreeLightSetsTheLatch) {
  const std::pair<double, double> cases[] = {{0, 0}, {50, 50}, {100, 100}, {100.5, 1}, {2000, 1}, {nan, nan}};
  for (auto [rpm, value] : cases) {
    inputs(rpm, 500, 0.5, 1);
    g.update();
    g.draw();
    const double shown = g.elements()[1].value;
    if (std::isnan(value)) {
      EXPECT_TRUE(std::isnan(shown));
    } else {
      EXPECT_EQ(shown, value) << rpm;
    }
    EXPECT_EQ(g.elements()[2].value, rpm > 100 ? 1 : 0) << "20/18 lit only with the latch, at " << rpm;
  }
}

TEST_F(PropLights, TheLogicSendsAtMostOneEventPerEngineInOrder) {
  using E = std::vector<host::KeyEvent>;
  inputs(0, 1001, 0.5, 0);
  EXPECT_EQ(update(), (E{{0x10183, 0}})) << "advanced lever, propeller above 0";
  inputs(0, 1001, 0, 0);
  EXPECT_EQ(update(), E{}) << "propeller at 0";
  inputs(0, 1000, 0.5, 1);
  EXPECT_EQ(update(), E{}) << "lever at exactly 1000";
  inputs(150, 999, 0.5, 1);
  EXPECT_EQ(update(), E{}) << "the first pre-update reads the latch as 0";
  g.draw();
  EXPECT_EQ(update(), (E{{0x101D5, 0}})) << "idle lever, flag, latch, propeller below 1";
  EXPECT_EQ(update(), (E{{0x101D5, 0}})) << "again at every pre-update";
  host.variables().set(0x22F, 1);
  EXPECT_EQ(update(), E{}) << "propeller at 1";
  g.draw();
  EXPECT_EQ(g.elements()[2].frame, 1) << "the 20/18 lights stay lit";
  for (double flag : {0.999, 2.0, nan}) {
    inputs(150, 999, 0.5, flag);
    EXPECT_EQ(update(), E{}) << flag;
    g.draw();
    EXPECT_EQ(g.elements()[2].frame, 0) << flag;
  }
  inputs(150, 999, 0.5, 1, 150, 999, 0.5);
  g.update();
  g.draw();
  EXPECT_EQ(update(), (E{{0x101D5, 0}, {0x101DA, 0}})) << "both at idle: port first";
  inputs(150, 999, 0.5, 1, 150, 5000, 0.5);
  EXPECT_EQ(update(), (E{{0x10184, 0}, {0x101D5, 0}})) << "engine 2 advanced before engine 1 idle";
  inputs(nan, nan, nan, 1, 0, nan, nan);
  EXPECT_EQ(update(), E{}) << "not a number fails every test";
  // RPM falls to 50 with the lever at idle: after the next 32° evaluation it all stops.
  inputs(150, 999, 0.5, 1);
  g.update();
  g.draw();
  host.variables().set(0x2BC, 50);
  EXPECT_EQ(update(), (E{{0x101D5, 0}})) << "the latch as last evaluated";
  g.draw();
  EXPECT_EQ(update(), E{});
  EXPECT_EQ(g.elements()[2].frame, 0);
}

// ---- crossfeed, flaps, gear ----

TEST_F(Controls, TheCrossfeedKnobReadsAnIntegerState) {
  sim::Model model(host);  // 0x134 is an integer variable
  host::Instance& x = gauge("vk4_xfeed");
  const std::pair<int32_t, int> cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}, {INT32_MAX, 0}};
  for (auto [state, frame] : cases) {
    host.variables().set_int(0x134, state);
    EXPECT_EQ(cycle(x)[1].frame, frame) << state;
  }
  const std::pair<PIXPOINT, uint32_t> clicks[] = {{{10, 30}, 0x10161}, {{50, 20}, 0x1015F}, {{80, 20}, 0x10160},
                                                  {{105, 10}, 0x10160}};
  for (auto [p, event] : clicks) {
    EXPECT_EQ(events_of_click(x, p), (std::vector<host::KeyEvent>{{event, 0}})) << p.x;
    cycle(x);
  }
  EXPECT_EQ(x.elements()[1].frame, 2) << "the model set RIGHT";
  for (PIXPOINT p : {PIXPOINT{65, 10}, PIXPOINT{50, 55}, PIXPOINT{35, 50}, PIXPOINT{1, 1}})
    EXPECT_TRUE(events_of_click(x, p).empty()) << p.x << ", " << p.y;
  host.variables().set_int(0x134, 0);
  cycle(x);
  EXPECT_EQ(events_of_click(x, {50, 20}), (std::vector<host::KeyEvent>{{0x1015F, 0}})) << "OFF again";
}

TEST_F(Controls, TheFlapNeedleCrossesTheUnequalScale) {
  host::Instance& f = gauge("vk4_flaps");
  const std::tuple<double, double, double> cases[] = {
      {0, 0, 359.0}, {4096, 1, 39.0}, {6144, 1.5, 48.5}, {8192, 2, 57.9}, {12288, 3, 106.7},
      {16384, 4, 156.4}, {20000, 4, 156.4}, {-100, 0, 359.0}};
  for (auto [handle, value, degrees] : cases) {
    host.variables().set(0x148, handle);
    EXPECT_EQ(cycle(f)[1].value, value) << handle;
    EXPECT_NEAR(f.elements()[1].degrees, degrees, 0.1) << handle;
  }
  host.variables().set(0x148, nan);
  EXPECT_TRUE(std::isnan(cycle(f)[1].value));
}

TEST_F(Controls, TheGearHandleSendsOneEventInBothPositions) {
  sim::Model model(host);
  host::Instance& g = gauge("vk4_hear_handle");
  const std::pair<double, double> cases[] = {{0, 0}, {16380, 1}, {16383, 1}, {8190, 0.5}, {-50, 0}};
  for (auto [v, value] : cases) {
    host.variables().set(0x14B, v);
    EXPECT_EQ(cycle(g)[1].value, value) << v;
  }
  host.variables().set(0x14B, nan);
  EXPECT_TRUE(std::isnan(cycle(g)[1].value));
  host.variables().set(0x14B, 0);
  cycle(g);
  EXPECT_EQ(events_of_click(g, {30, 100}), (std::vector<host::KeyEvent>{{0x10022, 0}}));
  EXPECT_EQ(cycle(g)[1].frame, 1) << "the model moved the handle down";
  EXPECT_EQ(events_of_click(g, {30, 20}), (std::vector<host::KeyEvent>{{0x10022, 0}}));
  EXPECT_EQ(cycle(g)[1].frame, 0);
  for (PIXPOINT p : {PIXPOINT{30, 190}, PIXPOINT{30, 199}, PIXPOINT{59, 50}})
    EXPECT_TRUE(events_of_click(g, p).empty()) << p.x << ", " << p.y;
  EXPECT_EQ(g.areas()[0]->cursor, CURSOR_UP_ARROW);
}

}  // namespace
