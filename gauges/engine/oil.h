// The oil gauges: one instrument for each quantity with a needle for each engine. The
// engine 1 needle pivots near the left edge and sweeps the left half, the engine 2 needle
// near the right edge and sweeps the right half: two scales back to back, low values at
// the bottom, high at the top. One row per gauge.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/gauge.h"

namespace vk4::oil {

enum class Quantity {
  Pressure,     // units of which 1638 make a psi, shown 0 to 40 psi
  Temperature,  // degrees Rankine, shown -50 to +150 degrees Celsius
};

struct Side {
  int32_t bitmap;
  PIXPOINT pivot_at;
  PIXPOINT pivot;
  uint32_t source;
  std::array<CalibrationPoint, 3> rows;  // in clockwise order
  int32_t row_count;
};

struct Member {
  std::string_view name;
  Quantity quantity;
  Side left;   // engine 1
  Side right;  // engine 2
  std::string_view top, bottom;  // the face's legends
};

inline constexpr Size size = {147, 173};
inline constexpr int32_t face_bitmap = 0x100;
inline constexpr Size needle_size = {35, 7};

inline constexpr Member members[] = {
    {"vk4_oilpress", Quantity::Pressure,
     // As the pressure rises the left needle turns anticlockwise from 6 up to 12 o'clock:
     // its rows, clockwise, fall in value.
     {0x1100, {23, 86}, {0, 3}, 0x232, {{{24, 44, 40.0}, {59, 86, 20.0}, {23, 131, 0.0}}}, 3},
     {0x1200, {124, 87}, {0, 3}, 0x23C, {{{122, 132, 0.0}, {83, 86, 20.0}, {123, 45, 40.0}}}, 3},
     "OIL", "PSI"},
    {"vk4_oiltemp", Quantity::Temperature,
     // The left needle turns about its pixel 1, not 0, unlike the other three.
     {0x1200, {24, 87}, {1, 3}, 0x231, {{{47, 43, 150.0}, {48, 130, -50.0}, {}}}, 2},
     {0x1300, {121, 88}, {0, 3}, 0x23B, {{{97, 131, -50.0}, {98, 42, 150.0}, {}}}, 2},
     "OIL", "TEMP"},
};

struct Range {
  double lower, upper;
};
constexpr Range range(Quantity q) { return q == Quantity::Pressure ? Range{0, 40} : Range{-50, 150}; }

consteval const Member& member(std::string_view name) {
  for (const Member& m : members)
    if (m.name == name) return m;
  throw "no oil gauge of that name";
}

}  // namespace vk4::oil
