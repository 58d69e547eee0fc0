// The RPM gauges: the needle routine's conversion and clamp, and the needle's direction.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "gauges/engine/rpm.h"
#include "host/core/host.h"
#include "tests/behaviour/support.h"

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

class Rpm : public ::testing::TestWithParam<vk4::rpm::Member> {
 protected:
  host::Host host;
  const vk4::rpm::Member& m = GetParam();
  host::Instance& gauge = host.place(host.load(test::module_file(m.name)));
  const host::ElementState& needle(double rpm) {
    host.variables().set(m.source, rpm);
    gauge.update();
    gauge.draw();
    return gauge.elements().at(1);
  }
};

TEST_P(Rpm, ConvertsToHundredsAndClampsWithStrictBounds) {
  // source -> needle value
  const std::pair<double, double> cases[] = {{0, 0},       {1250, 12.5}, {2000, 20}, {2000.5, 20}, {3500, 20},
                                             {-50, 0},     {inf, 20},    {-inf, 0},  {1999.99, 19.9999}};
  for (auto [source, value] : cases) EXPECT_DOUBLE_EQ(needle(source).value, value) << source;
  EXPECT_TRUE(std::isnan(needle(nan).value)) << "not a number fails both tests";
  EXPECT_TRUE(std::signbit(needle(-0.0).value)) << "-0 equals the bound and passes unchanged";
}

TEST_P(Rpm, TheNeedleSweepsClockwiseFromSixOClock) {
  EXPECT_NEAR(needle(0).degrees, 180, 0.05) << "straight down";
  EXPECT_NEAR(needle(1250).degrees, 5.9, 0.05) << "about 6 degrees past 12 o'clock";
  EXPECT_NEAR(needle(1200).degrees, 358.46, 0.05) << "12 almost straight up";
  EXPECT_NEAR(needle(2000).degrees, 117.4, 0.05);
  EXPECT_NEAR(needle(3500).degrees, needle(2000).degrees, 1e-12);
  EXPECT_NEAR(needle(100).degrees - needle(0).degrees, 14.87, 0.01) << "per 100 RPM";
}

TEST(RpmPair, BothMembersShowTheSameNeedleForTheSameValue) {
  host::Host host;
  host::Instance& left = host.place(host.load(test::module_file("vk4_rpm1")));
  host::Instance& right = host.place(host.load(test::module_file("vk4_rpm2")));
  for (double rpm : {0.0, 730.0, 1250.0, 1999.0, 2600.0}) {
    host.variables().set(0x2BC, rpm);
    host.variables().set(0x2C4, rpm);
    host.update();
    host.draw();
    EXPECT_EQ(left.elements().at(1).degrees, right.elements().at(1).degrees) << rpm;
  }
  host.variables().set(0x2BC, 1500);
  host.update();
  host.draw();
  EXPECT_NE(left.elements().at(1).degrees, right.elements().at(1).degrees) << "each reads its own engine";
}

std::string member_name(const ::testing::TestParamInfo<vk4::rpm::Member>& p) { return std::string(p.param.name); }

}  // namespace

namespace vk4::rpm {
void PrintTo(const Member& m, std::ostream* os) { *os << m.name; }
}  // namespace vk4::rpm

namespace {
INSTANTIATE_TEST_SUITE_P(Pair, Rpm, ::testing::ValuesIn(vk4::rpm::members), member_name);
}  // namespace
