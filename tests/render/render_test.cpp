// The renderer's geometry on real pixels: needles point where the host's rule says,
// icons show the bitmap of their frame, text stays in its box, sliders move by the rule,
// black is transparent.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "gauges/electrical/switches.h"
#include "host/core/host.h"
#include "host/render/panel_renderer.h"
#include "host/render/renderer.h"
#include "host/sim/model.h"
#include "tests/behaviour/support.h"
#include "tests/fixtures/elements_fixture.h"

namespace {

namespace f = elements_fixture;

// The direction in which a drawn needle points: the alpha-weighted mean direction of its
// pixels between two radii from the pivot, clockwise from 12 o'clock.
double measured_direction(const render::Picture& p, PIXPOINT pivot, double r0, double r1) {
  double sx = 0, sy = 0;
  for (int y = 0; y < p.height(); ++y)
    for (int x = 0; x < p.width(); ++x) {
      const double dx = x + 0.5 - (pivot.x + 0.5), dy = y + 0.5 - (pivot.y + 0.5);
      const double r = std::hypot(dx, dy);
      if (r < r0 || r > r1) continue;
      const double a = (p.pixel(x, y) >> 24) / 255.0;
      sx += a * dx / r;
      sy += a * dy / r;
    }
  double d = std::atan2(sx, -sy) * 180 / M_PI;
  return d < 0 ? d + 360 : d;
}

double angle_between(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360.0);
  return std::min(d, 360 - d);
}

class Render : public ::testing::Test {
 protected:
  host::Host host;
  sim::Model model{host};
  render::Renderer renderer;
  host::Instance& place(std::string_view name, bool fixture = false) {
    return host.place(host.load(fixture ? test::fixture_file(name) : test::module_file(name)));
  }
  render::Picture draw(host::Instance& g, size_t element) {
    g.update();
    g.draw();
    return renderer.draw(g, {.first_element = element, .last_element = element});
  }
};

TEST_F(Render, NeedlesPointWhereTheRuleSays) {
  host::Instance& rpm = place("vk4_rpm1");
  for (double value : {0.0, 1250.0, 2000.0, 3500.0, 500.0, 1700.0}) {
    host.variables().set(0x2BC, value);
    const render::Picture p = draw(rpm, 1);
    const double expected = rpm.elements()[1].degrees;
    EXPECT_LT(angle_between(measured_direction(p, {82, 80}, 25, 55), expected), 1.0) << value;
  }
  host::Instance& fixture = place("vk4_elements", true);
  for (auto [value, degrees] : {std::pair{40.0, 0.0}, {30.0, 45.0}, {20.0, 90.0}, {10.0, 135.0}, {0.0, 180.0}}) {
    host.variables().set(f::falling_source, value);
    EXPECT_LT(angle_between(measured_direction(draw(fixture, 1), f::pivot_at, 25, 55), degrees), 1.0) << value;
  }
  for (auto [value, degrees] : {std::pair{0.0, 180.0}, {90.0, 270.0}, {180.0, 0.0}, {270.0, 90.0}}) {
    host.variables().set(f::turn_source, value);
    EXPECT_LT(angle_between(measured_direction(draw(fixture, 2), f::pivot_at, 25, 55), degrees), 1.0) << value;
  }
}

TEST_F(Render, EveryEngineNeedleIsDrawnWhereItPoints) {
  struct Case {
    const char* gauge;
    size_t element;  // index in drawing order, the background 0
    uint32_t source;
    std::vector<double> values;
    double r0, r1;  // the annulus of the bar, in pixels from the pivot
  };
  const Case cases[] = {
      {"vk4_tgt1", 1, 0x277, {0, 1751, 1931, 2100, 2831}, 20, 50},
      {"vk4_itt2", 1, 0x28A, {1751, 1931}, 20, 50},
      {"vk4_psi1", 1, 0x275, {0, 0.3, 0.6, 1.0, 1.2}, 25, 52},
      {"vk4_oilpress", 1, 0x232, {0, 32760, 65520}, 10, 32},
      {"vk4_oilpress", 2, 0x23C, {0, 32760, 65520}, 10, 32},
      {"vk4_oiltemp", 1, 0x231, {401, 600, 761}, 10, 32},
      {"vk4_oiltemp", 2, 0x23B, {401, 600, 761}, 10, 32},
      {"vk4_fuelflow1", 1, 0x27E, {0, 660, 1320, 2420}, 30, 85},
  };
  for (const Case& c : cases) {
    host::Instance& g = host.find(c.gauge) != nullptr ? *host.find(c.gauge) : place(c.gauge);
    for (double v : c.values) {
      host.variables().set(c.source, v);
      const render::Picture p = draw(g, c.element);
      const ELEMENT_HEADER& e = *g.elements()[c.element].element;
      const double expected = g.elements()[c.element].degrees;
      EXPECT_LT(angle_between(measured_direction(p, e.position, c.r0, c.r1), expected), 1.5)
          << c.gauge << " element " << c.element << " at " << v;
    }
  }
}

TEST_F(Render, TheCourseFaceTurnsAboutItsPivotByTheCourse) {
  host::Instance& knob = place("vk4_course1_knob");
  const host::Bitmap& face = knob.module().bitmap(0x1400);
  const PIXPOINT pivot_at = {28, 29}, pivot = {24, 26};
  // course -> quarter turns clockwise of the bitmap (270: upright, as drawn)
  for (auto [course, quarters] : {std::pair{270.0, 0}, {0.0, 1}, {360.0, 1}, {90.0, 2}, {180.0, 3}}) {
    host.variables().set(0x2D, course);
    const render::Picture p = draw(knob, 1);
    int compared = 0, differ = 0;
    for (int v = 0; v < face.h; ++v)
      for (int u = 0; u < face.w; ++u) {
        int dx = u - pivot.x, dy = v - pivot.y;
        for (int q = 0; q < quarters; ++q) std::tie(dx, dy) = std::pair{-dy, dx};
        const int x = pivot_at.x + dx, y = pivot_at.y + dy;
        if (x < 0 || y < 0 || x >= p.width() || y >= p.height()) continue;
        const uint32_t want = face.at(u, v) == 0 ? 0 : (0xFF000000u | face.at(u, v));
        const uint32_t got = p.pixel(x, y);
        ++compared;
        for (int shift : {0, 8, 16, 24})
          if (std::abs(static_cast<int>((want >> shift) & 0xFF) - static_cast<int>((got >> shift) & 0xFF)) > 2) {
            ++differ;
            break;
          }
      }
    EXPECT_GT(compared, 2000);
    EXPECT_EQ(differ, 0) << "course " << course;
  }
}

TEST_F(Render, TheNeedleTipReachesFiftySixPixelsBeyondThePivot) {
  host::Instance& rpm = place("vk4_rpm1");
  host.variables().set(0x2BC, 0);
  const render::Picture p = draw(rpm, 1);
  // Straight down: lit on the pivot column down to row 80 + 56, dark beyond.
  EXPECT_GT(p.pixel(82, 80 + 50) >> 24, 200u);
  EXPECT_EQ(p.pixel(82, 80 + 58) >> 24, 0u);
  EXPECT_GT(p.pixel(82, 80 - 10) >> 24, 100u) << "the counterweight behind the pivot";
  EXPECT_EQ(p.pixel(82, 80 - 15) >> 24, 0u);
}

TEST_F(Render, IconFrameZeroIsTheBitmapAtTheIconsOwnNumber) {
  const auto& m = vk4::switches::members[0];
  host::Instance& sw = place(m.name);
  for (int state : {0, 1}) {
    host.variables().set(m.state, state);
    const render::Picture p = draw(sw, 1);
    const host::Bitmap& b = sw.module().bitmap(vk4::switches::lever_bitmap + state);
    int differ = 0;
    for (int y = 0; y < b.h; ++y)
      for (int x = 0; x < b.w; ++x) {
        const uint32_t want = b.at(x, y) == 0 ? 0 : (0xFF000000u | b.at(x, y));
        differ += p.pixel(m.lever_at.x + x, m.lever_at.y + y) != want;
      }
    EXPECT_EQ(differ, 0) << "state " << state;
  }
}

TEST_F(Render, PureBlackIsTransparent) {
  host::Instance& rpm = place("vk4_rpm1");
  const render::Picture p = draw(rpm, 0);
  EXPECT_EQ(p.pixel(0, 0), 0u) << "the corners outside the bezel";
  EXPECT_EQ(p.pixel(166, 162), 0u);
  EXPECT_EQ(p.pixel(82, 40) >> 24, 255u) << "the face is opaque";
}

TEST_F(Render, TextIsDrawnInsideItsBoxFromItsLeftEdge) {
  host::Instance& fixture = place("vk4_elements", true);
  host.variables().set(f::text_source, 12.345);
  const render::Picture p = draw(fixture, 3);
  int inside = 0, outside = 0, leftmost = p.width();
  for (int y = 0; y < p.height(); ++y)
    for (int x = 0; x < p.width(); ++x) {
      if ((p.pixel(x, y) >> 24) < 128) continue;
      const bool in = x >= f::text_at.x && x < f::text_at.x + f::text_box.w && y >= f::text_at.y &&
                      y < f::text_at.y + f::text_box.h;
      (in ? inside : outside)++;
      if (in) leftmost = std::min(leftmost, x);
    }
  EXPECT_GT(inside, 100);
  EXPECT_EQ(outside, 0);
  EXPECT_LE(leftmost, f::text_at.x + 4);
  // A text too long for the box shrinks and is still clipped to it.
  host.variables().set(f::text_source, 3.0e38);
  const render::Picture q = draw(fixture, 3);
  for (int y = 0; y < q.height(); ++y)
    for (int x = f::text_at.x + f::text_box.w; x < q.width(); ++x) EXPECT_EQ(q.pixel(x, y), 0u) << x << "," << y;
}

TEST_F(Render, SlidersSitAtPositionPlusResultTimesScale) {
  host::Instance& fixture = place("vk4_elements", true);
  auto top_left = [&](double x, double y) {
    host.variables().set(f::slider_x_source, x);
    host.variables().set(f::slider_y_source, y);
    const render::Picture p = draw(fixture, 4);
    int min_x = p.width(), min_y = p.height();
    for (int py = 0; py < p.height(); ++py)
      for (int px = 0; px < p.width(); ++px)
        if (p.pixel(px, py) != 0) min_x = std::min(min_x, px), min_y = std::min(min_y, py);
    return std::pair{min_x, min_y};
  };
  const auto home = top_left(0, 0);
  EXPECT_EQ(top_left(0, 3).second, home.second + 30);
  EXPECT_EQ(top_left(5000, 3).first, home.first) << "scale 0 holds x";
  EXPECT_EQ(top_left(-5000, -1).first, home.first);
  EXPECT_EQ(top_left(0, -1).second, home.second - 10);
}

TEST_F(Render, TheIncrementalPanelDrawsWhatAWholeDrawDraws) {
  host::Instance& rpm = host.place(host.load(test::module_file("vk4_rpm1")), {10, 10});
  host::Instance& sw = host.place(host.load(test::module_file("vk4_battery")), {200, 20});
  host.place(host.load(test::module_file("vk4_fuel")), {260, 10});
  host.install_all();
  host.update();
  host.draw();
  render::PanelRenderer panel(renderer, 480, 200, 0x2A2F35);
  panel.prepare(host);
  panel.repaint(host);
  auto same_as_whole = [&](const char* when) {
    const render::Picture whole = renderer.draw_panel(host, 480, 200, 0x2A2F35);
    int differ = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 480; ++x) differ += whole.pixel(x, y) != panel.picture().pixel(x, y);
    EXPECT_EQ(differ, 0) << when;
  };
  same_as_whole("after a repaint");
  host.variables().set(0x2BC, 1730);
  host.variables().set(0x317, 7.25);
  host.update();
  host.draw();
  EXPECT_EQ(panel.frame(host), 2) << "the RPM needle and the fuel readout changed";
  same_as_whole("after an incremental frame");
  host.click(sw, {20, 24});
  host.variables().set(0x16C, 1);
  host.update();
  host.draw();
  EXPECT_EQ(panel.frame(host), 1);
  same_as_whole("after the switch moved");
  EXPECT_EQ(panel.frame(host), 0) << "nothing changed: nothing drawn";
  (void)rpm;
}

TEST_F(Render, BothRpmGaugesDrawTheSamePicture) {
  host::Instance& a = place("vk4_rpm1");
  host::Instance& b = place("vk4_rpm2");
  host.variables().set(0x2BC, 1375);
  host.variables().set(0x2C4, 1375);
  host.update();
  host.draw();
  const render::Picture pa = renderer.draw(a), pb = renderer.draw(b);
  int differ = 0;
  for (int y = 0; y < pa.height(); ++y)
    for (int x = 0; x < pa.width(); ++x) differ += pa.pixel(x, y) != pb.pixel(x, y);
  EXPECT_EQ(differ, 0);
}

}  // namespace
