// The turbine gas temperature gauges: one dial marked "TGT" in hundreds of degrees
// Celsius from 2 to 13, the range 7 to 9 stretched. Four modules, two per engine: the
// tgt pair on the hard-edged face, the itt pair on the same face anti-aliased with
// heavier lettering, 2 pixels narrower.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/gauge.h"

namespace vk4::tgt {

struct Member {
  std::string_view name;
  uint32_t source;     // turbine gas temperature, degrees Rankine
  int32_t background;  // the face's resource number
  Size size;           // the face's size, and so the gauge's
};

inline constexpr Member members[] = {
    {"vk4_tgt1", 0x277, 0x100, {167, 163}},   // engine 1, left
    {"vk4_tgt2", 0x28A, 0x100, {167, 163}},   // engine 2, right
    {"vk4_itt1", 0x277, 0x1200, {165, 163}},  // engine 1, the anti-aliased face
    {"vk4_itt2", 0x28A, 0x1200, {165, 163}},  // engine 2, the anti-aliased face
};

inline constexpr int32_t needle_bitmap = 0x1100;
inline constexpr Size needle_size = {70, 7};
inline constexpr int needle_bar_from = 25;         // black over the first 25 pixels
inline constexpr PIXPOINT pivot_at = {84, 81};
inline constexpr PIXPOINT needle_pivot = {14, 3};  // the bar runs from 11 to 55 beyond the pivot
inline constexpr double lowest = 2, highest = 13;  // x100 degrees Celsius

// 2 just right of 12 o'clock, 7 at 3 o'clock, 9 at 6 o'clock, 13 at about 8 o'clock.
inline constexpr std::array<CalibrationPoint, 4> rows = {
    {{98, 29, 2.0}, {137, 80, 7.0}, {83, 132, 9.0}, {36, 104, 13.0}}};

consteval const Member& member(std::string_view name) {
  for (const Member& m : members)
    if (m.name == name) return m;
  throw "no turbine temperature gauge of that name";
}

}  // namespace vk4::tgt
