// The readouts' formatter against what C's printf writes: the documented cases, and many
// random numbers against this platform's snprintf.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "framework/format.h"

namespace {

std::string formatted(const vk4::Format& f, double v, size_t size = 64) {
  char buf[400];
  vk4::format_fixed(buf, size, f, v);
  return buf;
}

TEST(Format, WritesWhatPrintfWrites) {
  constexpr vk4::Format w4("%04.0f"), w3("%03.0f"), w5("%05.0f"), p2("%.2f");
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  const std::tuple<const vk4::Format*, double, const char*> cases[] = {
      {&w4, 455.4545, "0455"}, {&w4, -10, "-010"}, {&w4, 10000, "10000"}, {&w4, 0.5, "0000"}, {&w4, 1.5, "0002"},
      {&w4, 2.5, "0002"},      {&w4, -0.0, "-000"}, {&w4, nan, " nan"},   {&w4, -nan, "-nan"}, {&w4, inf, " inf"},
      {&w4, -inf, "-inf"},     {&w3, 44.6, "045"},  {&w3, 359.6, "360"},  {&w3, -1, "-01"},    {&w3, 1000, "1000"},
      {&w5, 1012.6, "01013"},  {&w5, 99999.6, "100000"}, {&w5, -1, "-0001"},
      {&p2, 1234.5670166015625, "1234.57"}, {&p2, 12.345000267028809, "12.35"}, {&p2, 16777216, "16777216.00"},
      {&p2, 0.125, "0.12"},    {&p2, 0.375, "0.38"}, {&p2, -1.5, "-1.50"}, {&p2, nan, "nan"},
      {&p2, 3.4028234663852886e38, "340282346638528859811704183484516925440.00"},
      {&p2, 5e-324, "0.00"},   {&p2, -5e-324, "-0.00"},
  };
  for (auto [f, v, text] : cases) EXPECT_EQ(formatted(*f, v), text) << v;
  EXPECT_EQ(formatted(p2, 1.7976931348623157e308, 400).size(), 312u) << "the largest double, exactly";
  EXPECT_EQ(formatted(p2, 1.7976931348623157e308).size(), 63u) << "bounded by the buffer";
  char tiny[4];
  EXPECT_EQ(vk4::format_fixed(tiny, sizeof tiny, w5, 12345), 5u) << "the whole length, as snprintf returns";
  EXPECT_STREQ(tiny, "123");
}

TEST(Format, AgreesWithThisPlatformsSnprintfOnRandomNumbers) {
  const char* formats[] = {"%04.0f", "%03.0f", "%05.0f", "%.2f"};
  const vk4::Format parsed[] = {vk4::Format("%04.0f"), vk4::Format("%03.0f"), vk4::Format("%05.0f"), vk4::Format("%.2f")};
  uint64_t s = 2026;
  auto next = [&s] {
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    return s;
  };
  int differ = 0, compared = 0;
  for (int i = 0; i < 40000; ++i) {
    const uint32_t u = static_cast<uint32_t>(next() >> 32);
    float f;
    std::memcpy(&f, &u, sizeof f);
    const uint64_t b = next();
    double d;
    std::memcpy(&d, &b, sizeof d);
    for (double v : {static_cast<double>(f), d, static_cast<double>(static_cast<int32_t>(u)) / 256.0}) {
      if (!std::isfinite(v)) continue;  // the C libraries disagree on a NaN's sign
      for (int k = 0; k < 4; ++k) {
        char want[400];
        std::snprintf(want, sizeof want, formats[k], v);
        ++compared;
        if (formatted(parsed[k], v, 400) != want && ++differ <= 5)
          ADD_FAILURE() << formats[k] << " of " << v << ": " << formatted(parsed[k], v, 400) << " not " << want;
      }
    }
  }
  EXPECT_EQ(differ, 0);
  EXPECT_GT(compared, 300000);
}

}  // namespace
