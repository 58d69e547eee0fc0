// The autopilot panel and the navigation knobs and readouts: what each key sends for each
// state, the knobs' halves and repeats, the turning face, the readouts' texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "gauges/autopilot/buttons.h"
#include "gauges/navigation/knobs.h"
#include "host/core/host.h"
#include "host/sim/model.h"
#include "tests/behaviour/support.h"

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
using Events = std::vector<host::KeyEvent>;

class Panel : public ::testing::Test {
 protected:
  host::Host host;
  host::Instance& gauge(std::string_view name) {
    host::Instance* g = host.find(name);
    return g != nullptr ? *g : host.place(host.load(test::module_file(name)));
  }
  Events click(host::Instance& g, PIXPOINT p, host::Button b = host::Button::Left) {
    host.clear_events();
    host.click(g, p, b);
    return host.events();
  }
};

class Key : public Panel, public ::testing::WithParamInterface<vk4::buttons::Member> {};

TEST_P(Key, SendsByItsStateAsLastRefreshedThenItsCompanions) {
  const auto& m = GetParam();
  host::Instance& g = gauge(m.name);
  const PIXPOINT centre = {m.size.w / 2, m.size.h / 2};
  Events tail;
  for (int i = 0; i < m.companion_count; ++i) tail.push_back({m.companions[i], 0});
  // state -> engaged? (an ordered test against 0.0: -0 is 0, NaN is not)
  const std::pair<double, bool> cases[] = {{0, false}, {1, true}, {-0.0, false}, {nan, true},
                                           {2, true},  {-1, true}, {0.5, true}};
  for (auto [state, engaged] : cases) {
    host.variables().set(m.state, state);
    g.update();
    Events want;
    if (m.kind == vk4::buttons::Kind::Toggle) {
      want = {{m.on, 0}};
    } else {
      want = {{engaged ? m.off : m.on, 0}};
      want.insert(want.end(), tail.begin(), tail.end());
    }
    EXPECT_EQ(click(g, centre), want) << m.name << " at " << state;
    EXPECT_EQ(click(g, centre), want) << m.name << ": two clicks between two updates send the same";
  }
  // The click reads the module variable of the last pre-update, not the value now.
  host.variables().set(m.state, 0);
  g.update();
  host.variables().set(m.state, 1);
  if (m.kind == vk4::buttons::Kind::TwoState) {
    EXPECT_EQ(click(g, centre).front().id, m.on) << m.name;
  }
  EXPECT_TRUE(click(g, centre, host::Button::Right).empty());
  EXPECT_TRUE(click(g, centre, host::Button::Middle).empty());
  EXPECT_TRUE(click(g, {m.size.w - 1, 2}).empty()) << "the last column";
  EXPECT_TRUE(click(g, {2, m.size.h - 1}).empty()) << "the last row";
}

TEST_P(Key, LightsWhenTheModelEngagesItsMode) {
  const auto& m = GetParam();
  sim::Model model(host);
  host::Instance& g = gauge(m.name);
  g.update();
  g.draw();
  EXPECT_EQ(g.elements()[1].frame, 0);
  click(g, {m.size.w / 2, m.size.h / 2});
  EXPECT_EQ(g.elements()[1].frame, 0) << "the handler never changes the icon";
  g.update();
  g.draw();
  EXPECT_EQ(g.elements()[1].frame, 1) << m.name;
  EXPECT_EQ(host.variables().get(m.state), 1);
}

}  // namespace
namespace vk4::buttons {
void PrintTo(const Member& m, std::ostream* os) { *os << m.name; }
}  // namespace vk4::buttons
namespace vk4::knobs {
void PrintTo(const Member& m, std::ostream* os) { *os << m.name; }
}  // namespace vk4::knobs
namespace {

INSTANTIATE_TEST_SUITE_P(Family, Key, ::testing::ValuesIn(vk4::buttons::members),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(Panel, TheLateralModesStayApartAndAltitudeTouchesNothingElse) {
  sim::Model model(host);
  host::Instance& hdg = gauge("vk4_ap_hdg");
  host::Instance& nav = gauge("vk4_ap_nav");
  host::Instance& alt = gauge("vk4_ap_alt");
  host.update();
  host.click(hdg, {15, 15});
  host.update();
  EXPECT_EQ(host.variables().get(0x6A), 1);
  host.click(nav, {15, 15});
  host.update();
  EXPECT_EQ(host.variables().get(0x69), 1);
  EXPECT_EQ(host.variables().get(0x6A), 0) << "NAV releases heading hold";
  host.click(alt, {15, 15});
  EXPECT_EQ(host.variables().get(0x6C), 1);
  EXPECT_EQ(host.variables().get(0x69), 1) << "altitude touches no other mode";
  host.variables().set(0x6A, 1);
  host.update();
  EXPECT_EQ(click(nav, {15, 15}), (Events{{0x1011B, 0}, {0x10117, 0}})) << "NAV reads only its own state";
}

TEST_F(Panel, TheBlankButtonOnlyShowsItsFace) {
  host::Instance& g = gauge("vk4_ap_dummy");
  g.update();
  g.draw();
  EXPECT_EQ(g.elements().size(), 1u);
  EXPECT_TRUE(g.areas().empty());
  for (PIXPOINT p : {PIXPOINT{15, 15}, PIXPOINT{0, 0}, PIXPOINT{29, 29}}) EXPECT_TRUE(click(g, p).empty());
}

class Knob : public Panel, public ::testing::WithParamInterface<vk4::knobs::Member> {};

TEST_P(Knob, TheLeftHalfStepsDownTheRightHalfUp) {
  const auto& m = GetParam();
  host::Instance& g = gauge(m.name);
  EXPECT_EQ(click(g, {14, 26}), (Events{{m.down_event, 0}}));
  EXPECT_EQ(click(g, {40, 26}), (Events{{m.up_event, 0}}));
  EXPECT_EQ(click(g, {0, 0}), (Events{{m.down_event, 0}}));
  EXPECT_EQ(click(g, {52, 52}), (Events{{m.up_event, 0}}));
  for (PIXPOINT p : {PIXPOINT{28, 10}, PIXPOINT{28, 40}, PIXPOINT{10, 53}, PIXPOINT{40, 53}, PIXPOINT{53, 10}})
    EXPECT_TRUE(click(g, p).empty()) << p.x << ", " << p.y;
  EXPECT_TRUE(click(g, {14, 26}, host::Button::Right).empty());
  EXPECT_TRUE(click(g, {40, 26}, host::Button::Middle).empty());
}

TEST_P(Knob, HoldingRepeatsOnThreeKnobsAndNotOnTheFourth) {
  const auto& m = GetParam();
  host::Instance& g = gauge(m.name);
  const bool repeats = (m.flags & MOUSE_REPEAT) != 0;
  host.clear_events();
  host.press(g, {14, 26});
  host.advance(host::Host::repeat_delay + 9 * host::Host::repeat_interval);  // 10 repeats
  host.release();
  EXPECT_EQ(host.events(), Events(repeats ? 11 : 1, {m.down_event, 0})) << m.name;
  host.clear_events();
  host.press(g, {40, 26});
  for (int i = 0; i < 5; ++i) host.repeat();
  host.release();
  EXPECT_EQ(host.events(), Events(repeats ? 6 : 1, {m.up_event, 0})) << m.name;
}

INSTANTIATE_TEST_SUITE_P(Family, Knob, ::testing::ValuesIn(vk4::knobs::members),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(Panel, TheCourseFaceTurnsOnceRoundFrom0To360) {
  host::Instance& g = gauge("vk4_course1_knob");
  // course -> the needle's direction; the symbol's bar points 90 degrees anticlockwise of it
  const std::pair<double, double> cases[] = {{0, 180}, {90, 270}, {180, 0}, {270, 90}, {360, 180}, {45, 225}};
  for (auto [course, degrees] : cases) {
    host.variables().set(0x2D, course);
    g.update();
    g.draw();
    ASSERT_EQ(g.elements().size(), 2u);
    EXPECT_NEAR(g.elements()[1].degrees, degrees, 1e-9) << course;
  }
  EXPECT_EQ(gauge("vk4_knob_course1").module().root()->next, nullptr) << "the plain knobs have no face";
}

TEST_F(Panel, ReadoutsNarrowThenFormat) {
  struct Text {
    const char* gauge;
    uint32_t source;
    double value;
    const char* text;
  };
  const Text cases[] = {
      {"vk4_nav1_course", 0x2D, 0, "000"},    {"vk4_nav1_course", 0x2D, 5, "005"},
      {"vk4_nav1_course", 0x2D, 45, "045"},   {"vk4_nav1_course", 0x2D, 359, "359"},
      {"vk4_nav1_course", 0x2D, 44.6, "045"}, {"vk4_nav1_course", 0x2D, 359.6, "360"},
      {"vk4_nav1_course", 0x2D, 1000, "1000"}, {"vk4_nav1_course", 0x2D, -1, "-01"},
      {"vk4_nav1_course", 0x2D, -12, "-12"},  {"vk4_nav2_course", 0x36, 274, "274"},
      {"vk4_altset", 0x6D, 0, "00000"},       {"vk4_altset", 0x6D, 1013, "01013"},
      {"vk4_altset", 0x6D, 12345, "12345"},   {"vk4_altset", 0x6D, 1012.6, "01013"},
      {"vk4_altset", 0x6D, 99999.6, "100000"}, {"vk4_altset", 0x6D, -1, "-0001"},
  };
  for (const Text& c : cases) {
    host::Instance& g = gauge(c.gauge);
    host.variables().set(c.source, c.value);
    g.update();
    g.draw();
    EXPECT_EQ(g.elements()[1].text, c.text) << c.gauge << " at " << c.value;
    EXPECT_EQ(g.elements()[1].value, 0.0);
  }
  host::Instance& g = gauge("vk4_nav1_course");
  host.variables().set(0x2D, -3.4e38);
  g.update();
  g.draw();
  EXPECT_EQ(g.elements()[1].text.size(), 40u) << "the longest text, within the buffer";
}

TEST_F(Panel, TheAltimeterKnobStepsAndRepeats) {
  sim::Model model(host);
  host::Instance& g = gauge("vk4_altset");
  EXPECT_EQ(click(g, {160, 20}), (Events{{0x10164, 0}}));
  EXPECT_EQ(click(g, {160, 60}), (Events{{0x10165, 0}}));
  EXPECT_TRUE(click(g, {160, 47}).empty()) << "row 47 lies in neither half";
  EXPECT_TRUE(click(g, {160, 60}, host::Button::Right).empty());
  host.clear_events();
  host.press(g, {160, 20});
  host.advance(host::Host::repeat_delay + 4 * host::Host::repeat_interval);
  host.release();
  EXPECT_EQ(host.events(), Events(6, {0x10164, 0}));
  g.update();
  g.draw();
  EXPECT_EQ(g.elements()[1].text, "01019") << "1013, one down, one up, six up";
}

}  // namespace
