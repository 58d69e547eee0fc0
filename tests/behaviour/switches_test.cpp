// The ten toggle switches, from click to picture, each from its row of the family table.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "gauges/electrical/switches.h"
#include "host/core/host.h"
#include "host/sim/model.h"
#include "tests/behaviour/support.h"

namespace {

using vk4::switches::Member;

class Switch : public ::testing::TestWithParam<Member> {
 protected:
  host::Host host;
  sim::Model model{host};
  const Member& m = GetParam();
  host::Instance& gauge = start();

  host::Instance& start() {
    host::Instance& g = host.place(host.load(test::module_file(m.name)));
    host.install_all();
    return g;
  }
  int lever() {
    gauge.update();
    gauge.draw();
    return gauge.elements().at(1).frame;
  }
  PIXPOINT centre() const { return {m.box.x + m.box.w / 2, m.box.y + m.box.h / 2}; }
};

TEST_P(Switch, IsBuiltAsItsRowSays) {
  EXPECT_EQ(gauge.module().name(), m.name);
  EXPECT_EQ(gauge.size().w, m.size.w);
  EXPECT_EQ(gauge.size().h, m.size.h);
  gauge.draw();
  ASSERT_EQ(gauge.elements().size(), 2u);
  const ELEMENT_HEADER* bg = gauge.elements()[0].element;
  EXPECT_EQ(bg->bitmap, m.background);
  const auto* icon = reinterpret_cast<const ELEMENT_ICON*>(gauge.elements()[1].element);
  EXPECT_EQ(icon->source.id, m.state);
  EXPECT_EQ(icon->header.position.x, m.lever_at.x);
  EXPECT_EQ(icon->header.position.y, m.lever_at.y);
  const auto& lever_up = gauge.module().bitmap(icon->header.bitmap + 1);
  EXPECT_EQ(lever_up.w, 30);
  EXPECT_EQ(lever_up.h, 50);
  ASSERT_EQ(gauge.areas().size(), 1u);
  const MOUSERECT& a = *gauge.areas()[0];
  EXPECT_EQ(a.box.x, m.box.x);
  EXPECT_EQ(a.box.y, m.box.y);
  EXPECT_EQ(a.box.w, m.box.w);
  EXPECT_EQ(a.box.h, m.box.h);
  EXPECT_EQ(a.cursor, CURSOR_HAND);
  EXPECT_EQ(a.mouse_flags, MOUSE_LEFT_CLICK);
}

TEST_P(Switch, EachClickSendsOneToggleAndTheLeverFollowsTheModel) {
  EXPECT_EQ(lever(), 0) << "off: lever down";
  EXPECT_TRUE(host.click(gauge, centre()));
  EXPECT_EQ(host.events(), (std::vector<host::KeyEvent>{{m.toggle_event, 0}}));
  EXPECT_EQ(host.variables().get(m.state), 1);
  EXPECT_EQ(lever(), 1) << "on: lever up";
  EXPECT_TRUE(host.click(gauge, {m.box.x, m.box.y}));
  EXPECT_TRUE(host.click(gauge, {m.box.x + m.box.w - 1, m.box.y + m.box.h - 1}));
  EXPECT_EQ(host.events().size(), 3u);
  EXPECT_EQ(host.variables().get(m.state), 1);
  EXPECT_EQ(lever(), 1) << "two quick clicks flip it off and on again";
}

TEST_P(Switch, ClicksOutsideTheBoxSendNothing) {
  const int w = m.size.w, h = m.size.h;
  for (PIXPOINT p : {PIXPOINT{w - 1, m.box.y}, PIXPOINT{m.box.x, h - 1}, PIXPOINT{w - 1, h - 1},
                     PIXPOINT{m.box.x + m.box.w, centre().y}, PIXPOINT{centre().x, m.box.y + m.box.h},
                     PIXPOINT{-1, 10}, PIXPOINT{w + 5, 10}})
    EXPECT_FALSE(host.click(gauge, p)) << p.x << ", " << p.y;
  if (m.box.y > 0) {
    EXPECT_FALSE(host.click(gauge, {centre().x, m.box.y - 1})) << "the legend above the box";
  }
  EXPECT_TRUE(host.events().empty());
}

TEST_P(Switch, HoldingTheButtonSendsOneEventOnly) {
  EXPECT_TRUE(host.press(gauge, centre()));
  host.advance(3.0);
  EXPECT_FALSE(host.repeat());
  host.release();
  EXPECT_EQ(host.events().size(), 1u);
}

TEST_P(Switch, RightAndMiddleClicksDoNothing) {
  EXPECT_FALSE(host.click(gauge, centre(), host::Button::Right));
  EXPECT_FALSE(host.click(gauge, centre(), host::Button::Middle));
  EXPECT_TRUE(host.events().empty());
  EXPECT_EQ(lever(), 0);
}

TEST_P(Switch, TheLeverShowsTheStateAsDelivered) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  // value -> frame: the whole part, kept to the two frames; not a number shows frame 0
  const std::pair<double, int> cases[] = {{0, 0}, {1, 1}, {0.5, 0}, {0.999, 0}, {2, 1},
                                          {-1, 0}, {nan, 0}, {inf, 1}, {-inf, 0}, {-0.0, 0}};
  for (auto [value, frame] : cases) {
    host.variables().set(m.state, value);
    EXPECT_EQ(lever(), frame) << value;
    const double shown = gauge.elements()[1].value;
    if (std::isnan(value)) {
      EXPECT_TRUE(std::isnan(shown));
    } else {
      EXPECT_EQ(shown, value) << "the routine passes the value on unchanged";
    }
  }
}

}  // namespace

namespace vk4::switches {
void PrintTo(const Member& m, std::ostream* os) { *os << m.name; }
}  // namespace vk4::switches

namespace {

std::string member_name(const ::testing::TestParamInfo<Member>& p) { return std::string(p.param.name); }

INSTANTIATE_TEST_SUITE_P(Family, Switch, ::testing::ValuesIn(vk4::switches::members), member_name);

}  // namespace
