// The engine instruments: each needle routine's conversion and clamp, each readout's
// text, and where the needles point at their calibration points.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "host/core/host.h"
#include "tests/behaviour/support.h"

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

struct Reading {
  const char* gauge;
  size_t element;  // 1-based in drawing order
  uint32_t source;
  double set;
  double value;  // the needle value the routine returns (NaN: returned unchanged)
};

// source -> needle value, at the bounds, past them, and for what is not a number.
const Reading needle_cases[] = {
    // turbine temperature: (source - 491) / 180, kept within 2 and 13
    {"vk4_tgt1", 2, 0x277, 0, 2},           {"vk4_tgt1", 2, 0x277, 518.67, 2},
    {"vk4_tgt1", 2, 0x277, 1751, 7},        {"vk4_tgt1", 2, 0x277, 1931, 8},
    {"vk4_tgt1", 2, 0x277, 2831, 13},       {"vk4_tgt1", 2, 0x277, 3000, 13},
    {"vk4_tgt1", 2, 0x277, 851, 2},         {"vk4_tgt1", 2, 0x277, 1000, 509.0 / 180},
    {"vk4_tgt1", 2, 0x277, nan, nan},       {"vk4_tgt2", 2, 0x28A, 1751, 7},
    {"vk4_itt1", 2, 0x277, 1931, 8},        {"vk4_itt2", 2, 0x28A, 2831, 13},
    {"vk4_itt2", 2, 0x28A, -inf, 2},
    // PSI: x 500, within 0 and 600
    {"vk4_psi1", 2, 0x275, 0, 0},           {"vk4_psi1", 2, 0x275, 0.6, 300},
    {"vk4_psi1", 2, 0x275, 1.0, 500},       {"vk4_psi1", 2, 0x275, 1.2, 600},
    {"vk4_psi1", 2, 0x275, 1.5, 600},       {"vk4_psi1", 2, 0x275, -0.1, 0},
    {"vk4_psi1", 2, 0x275, nan, nan},       {"vk4_psi2", 2, 0x288, 0.6, 300},
    // oil pressure: / 1638, within 0 and 40, each needle its own engine
    {"vk4_oilpress", 2, 0x232, 0, 0},       {"vk4_oilpress", 2, 0x232, 32760, 20},
    {"vk4_oilpress", 2, 0x232, 65520, 40},  {"vk4_oilpress", 2, 0x232, 70000, 40},
    {"vk4_oilpress", 2, 0x232, -5, 0},      {"vk4_oilpress", 3, 0x23C, 32760, 20},
    {"vk4_oilpress", 3, 0x23C, nan, nan},
    // oil temperature: (source - 491) / 1.8, within -50 and 150
    {"vk4_oiltemp", 2, 0x231, 0, -50},      {"vk4_oiltemp", 2, 0x231, 401, -50},
    {"vk4_oiltemp", 2, 0x231, 761, 150},    {"vk4_oiltemp", 2, 0x231, 800, 150},
    {"vk4_oiltemp", 2, 0x231, 518.67, (518.67 - 491) / 1.8}, {"vk4_oiltemp", 3, 0x23B, 401, -50},
    {"vk4_oiltemp", 3, 0x23B, nan, nan},
    // fuel flow: / 220, within 0 and 11
    {"vk4_fuelflow1", 2, 0x27E, 0, 0},      {"vk4_fuelflow1", 2, 0x27E, 1, 1.0 / 220},
    {"vk4_fuelflow1", 2, 0x27E, 1000, 1000.0 / 220}, {"vk4_fuelflow1", 2, 0x27E, 2200, 10},
    {"vk4_fuelflow1", 2, 0x27E, 2420, 11},  {"vk4_fuelflow1", 2, 0x27E, 3000, 11},
    {"vk4_fuelflow1", 2, 0x27E, -22, 0},    {"vk4_fuelflow1", 2, 0x27E, nan, nan},
    {"vk4_fuelflow2", 2, 0x291, 2420, 11},  {"vk4_fuelflow", 2, 0x27E, 2200, 10},
};

class Engine : public ::testing::Test {
 protected:
  host::Host host;
  const host::ElementState& drawn(const char* gauge, size_t element, uint32_t source, double value) {
    host::Instance* g = host.find(gauge);
    if (g == nullptr) g = &host.place(host.load(test::module_file(gauge)));
    host.variables().set(source, value);
    g->update();
    g->draw();
    return g->elements().at(element - 1);
  }
};

TEST_F(Engine, NeedleRoutinesConvertThenClampUpperBoundFirstBothStrict) {
  for (const Reading& c : needle_cases) {
    const host::ElementState& s = drawn(c.gauge, c.element, c.source, c.set);
    ASSERT_EQ(s.kind, ELEMENT_KIND_NEEDLE) << c.gauge;
    if (std::isnan(c.value)) {
      EXPECT_TRUE(std::isnan(s.value)) << c.gauge << " " << c.set;
    } else {
      EXPECT_DOUBLE_EQ(s.value, c.value) << c.gauge << " element " << c.element << " at " << c.set;
    }
  }
}

TEST_F(Engine, ReadoutsNarrowToSinglePrecisionThenFormat) {
  struct Text {
    const char* gauge;
    size_t element;
    uint32_t source;
    double set;
    const char* text;
  };
  const Text cases[] = {
      // fuel flow, kilograms per hour: "%04.0f"
      {"vk4_fuelflow1", 3, 0x27E, 0, "0000"},       {"vk4_fuelflow1", 3, 0x27E, 1, "0000"},
      {"vk4_fuelflow1", 3, 0x27E, 1000, "0455"},    {"vk4_fuelflow1", 3, 0x27E, 2200, "1000"},
      {"vk4_fuelflow1", 3, 0x27E, 2420, "1100"},    {"vk4_fuelflow1", 3, 0x27E, 3000, "1364"},
      {"vk4_fuelflow1", 3, 0x27E, 22000, "10000"},  {"vk4_fuelflow1", 3, 0x27E, -22, "-010"},
      {"vk4_fuelflow2", 3, 0x291, 1000, "0455"},
      {"vk4_fuelflow1", 3, 0x27E, 7.48e38, " inf"},  // beyond single precision: padded with blanks
      // fuel quantity: "%.2f"
      {"vk4_fuel", 2, 0x317, 0, "0.00"},           {"vk4_fuel", 2, 0x317, 12.345, "12.35"},
      {"vk4_fuel", 2, 0x317, 1234.567, "1234.57"}, {"vk4_fuel", 2, 0x317, 2200, "2200.00"},
      {"vk4_fuel", 2, 0x317, -1.5, "-1.50"},       {"vk4_fuel", 2, 0x317, 16777217, "16777216.00"},
      {"vk4_fuel", 2, 0x317, -3.4028234e38, "-340282346638528859811704183484516925440.00"},
  };
  for (const Text& c : cases) {
    const host::ElementState& s = drawn(c.gauge, c.element, c.source, c.set);
    ASSERT_EQ(s.kind, ELEMENT_KIND_STRING) << c.gauge;
    EXPECT_EQ(s.text, c.text) << c.gauge << " at " << c.set;
    EXPECT_EQ(s.value, 0.0);
  }
  // The longest "%04.0f" text of a single-precision value: 40 characters, within the buffer.
  const std::string longest = drawn("vk4_fuelflow1", 3, 0x27E, -3.4e38).text;
  EXPECT_EQ(longest.size(), 40u) << longest;
  EXPECT_EQ(longest.rfind("-1545454", 0), 0u) << longest;
}

TEST_F(Engine, NeedlesPointAtTheirCalibrationPoints) {
  struct Direction {
    const char* gauge;
    size_t element;
    uint32_t source;
    double set;
    double degrees;  // clockwise from 12 o'clock
    double within;
  };
  const Direction cases[] = {
      {"vk4_tgt1", 2, 0x277, 1751, 88.9, 0.1},       // 3 o'clock
      {"vk4_tgt1", 2, 0x277, 1931, 88.9 + 46.1, 0.1},  // half-way to 6 o'clock
      {"vk4_tgt1", 2, 0x277, 0, 15.1, 0.1},          // the first mark, just right of 12
      {"vk4_tgt1", 2, 0x277, 2831, 244.4, 0.1},
      {"vk4_psi1", 2, 0x275, 0, 192.3, 0.1},         // just left of 6 o'clock
      {"vk4_psi1", 2, 0x275, 0.6, 354.8, 0.1},       // almost straight up, the long way round
      {"vk4_psi1", 2, 0x275, 1.2, 157.4, 0.1},
      {"vk4_oilpress", 2, 0x232, 32760, 90.0, 0.1},  // left needle at 3 o'clock
      {"vk4_oilpress", 3, 0x23C, 32760, 271.4, 0.1}, // right needle at 9 o'clock
      {"vk4_oilpress", 2, 0x232, 0, 180.0, 0.1},
      {"vk4_oilpress", 3, 0x23C, 0, 182.5, 0.1},
      {"vk4_oilpress", 2, 0x232, 65520, 1.4, 0.1},
      {"vk4_oiltemp", 2, 0x231, 761, 27.6, 0.1},
      {"vk4_oiltemp", 3, 0x23B, 761, 333.4, 0.1},
      {"vk4_fuelflow1", 2, 0x27E, 0, 58.8, 0.1},     // about 2 o'clock
      {"vk4_fuelflow1", 2, 0x27E, 2420, 300.6, 0.1}, // through 6 o'clock to 10 o'clock
  };
  for (const Direction& c : cases)
    EXPECT_NEAR(drawn(c.gauge, c.element, c.source, c.set).degrees, c.degrees, c.within)
        << c.gauge << " element " << c.element << " at " << c.set;
}

TEST_F(Engine, TwinsShowTheSameNeedleAndEachNeedleReadsItsOwnEngine) {
  for (double t : {518.67, 1500.0, 1751.0, 1900.0, 2500.0}) {
    const double tgt = drawn("vk4_tgt1", 2, 0x277, t).degrees;
    EXPECT_EQ(drawn("vk4_itt1", 2, 0x277, t).degrees, tgt) << t;
  }
  for (double f : {0.0, 700.0, 1500.0, 2500.0}) {
    const double ff1 = drawn("vk4_fuelflow1", 2, 0x27E, f).degrees;
    EXPECT_EQ(drawn("vk4_fuelflow", 2, 0x27E, f).degrees, ff1) << f;
  }
  EXPECT_EQ(host.find("vk4_fuelflow")->elements().size(), 2u) << "the plain variant ends with its needle";
  const double right = drawn("vk4_oilpress", 3, 0x23C, 10000).degrees;
  EXPECT_EQ(drawn("vk4_oilpress", 3, 0x232, 50000).degrees, right) << "engine 1 moves only its own needle";
}

}  // namespace
