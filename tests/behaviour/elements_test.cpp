// How the host evaluates needles, strings and sliders: the needle rule, the text buffer
// and its bound, the slider rule. Seen through the elements fixture gauge.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>

#include "host/core/host.h"
#include "host/core/rules.h"
#include "tests/behaviour/support.h"
#include "tests/fixtures/elements_fixture.h"

namespace {

namespace f = elements_fixture;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

class Elements : public ::testing::Test {
 protected:
  host::Host host;
  host::Instance& gauge = host.place(host.load(test::fixture_file("vk4_elements")));
  const host::ElementState& drawn(size_t i) {
    gauge.update();
    gauge.draw();
    return gauge.elements().at(i);
  }
  static constexpr size_t falling = 1, turn = 2, text = 3, pointer = 4;
};

TEST_F(Elements, TheHostFillsEachRowsDegreesWithItsDirectionFromThePivot) {
  drawn(falling);
  const auto* n = reinterpret_cast<const ELEMENT_NEEDLE*>(gauge.elements()[falling].element);
  EXPECT_DOUBLE_EQ(n->calibration[0].degrees, 0);
  EXPECT_DOUBLE_EQ(n->calibration[1].degrees, 90);
  EXPECT_DOUBLE_EQ(n->calibration[2].degrees, 180);
}

TEST_F(Elements, NeedlesTurnClockwiseInProportionWhateverWayTheValuesRun) {
  // value -> degrees clockwise from 12 o'clock
  const std::pair<double, double> falling_cases[] = {
      {40, 0}, {30, 45}, {20, 90}, {10, 135}, {0, 180},  // a row's value points at its row
      {50, 0}, {inf, 0}, {-5, 180}, {-inf, 180},       // beyond the table: the end row
      {nan, 0}};                                        // not a number: the first row
  for (auto [value, degrees] : falling_cases) {
    host.variables().set(f::falling_source, value);
    EXPECT_NEAR(drawn(falling).degrees, degrees, 1e-9) << value;
  }
  const std::pair<double, double> turn_cases[] = {{0, 180}, {90, 270}, {180, 0}, {270, 90}, {359, 179}, {360, 180}};
  for (auto [value, degrees] : turn_cases) {
    host.variables().set(f::turn_source, value);
    EXPECT_NEAR(drawn(turn).degrees, degrees, 1e-9) << "two rows in one direction: a whole turn, at " << value;
  }
}

TEST_F(Elements, StringsFormatIntoTheHostsBufferAndReturnZero) {
  char nan_text[64];
  std::snprintf(nan_text, sizeof nan_text, "%.2f", static_cast<double>(static_cast<float>(nan)));
  const std::pair<double, std::string> cases[] = {
      {12.345, "12.35"}, {0, "0.00"}, {-1.5, "-1.50"}, {16777217, "16777216.00"}, {nan, nan_text},
      {inf, "inf"}, {FLT_MAX, "340282346638528859811704183484516925440.00"}};
  for (const auto& [value, text_shown] : cases) {
    host.variables().set(f::text_source, value);
    const host::ElementState& s = drawn(text);
    EXPECT_EQ(s.text, text_shown) << value;
    EXPECT_EQ(s.value, 0.0) << value;
  }
}

TEST_F(Elements, ARoutineThatWritesPastItsBufferIsCaught) {
  host.variables().set(f::text_source, f::overrun_value);
  gauge.update();
  try {
    gauge.draw();
    FAIL() << "no fault reported";
  } catch (const host::GaugeFault& e) {
    EXPECT_NE(std::string(e.what()).find("wrote past its 64-byte text buffer"), std::string::npos) << e.what();
  }
}

TEST_F(Elements, SlidersMoveByResultTimesScaleAndAScaleOfZeroHoldsItsAxis) {
  const std::tuple<double, double, double> cases[] = {
      // x source (scale 0), y source (scale 10), expected y offset
      {0, 0, 0}, {1000, 3, 30}, {-1e300, -2.5, -25}, {nan, 0.25, 2.5}, {inf, nan, 0}, {5, inf, 0}};
  for (auto [x, y, offset_y] : cases) {
    host.variables().set(f::slider_x_source, x);
    host.variables().set(f::slider_y_source, y);
    const host::ElementState& s = drawn(pointer);
    EXPECT_EQ(s.offset_x, 0) << x;
    EXPECT_EQ(s.offset_y, offset_y) << y;
  }
}

}  // namespace
