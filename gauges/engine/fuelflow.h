// The fuel flow gauges: a dial in hundreds of kilograms per hour, 0 to 11, and above the
// hub a readout in whole kilograms per hour. The simulator gives pounds per hour. Two
// modules with the readout, one per engine, and a needle-only module for engine 1 on a
// face without legends.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/gauge.h"

namespace vk4::fuelflow {

struct Member {
  std::string_view name;
  uint32_t source;  // fuel flow, pounds per hour
  bool readout;     // the digital readout; without it the chain ends with the needle
};

inline constexpr Member members[] = {
    {"vk4_fuelflow1", 0x27E, true},  // engine 1, left
    {"vk4_fuelflow2", 0x291, true},  // engine 2, right
    {"vk4_fuelflow", 0x27E, false},  // engine 1, needle only
};

inline constexpr Size size = {240, 237};
inline constexpr int32_t dial_bitmap = 0x100;
inline constexpr int32_t needle_bitmap = 0x1100;
inline constexpr Size needle_size = {90, 7};
inline constexpr int needle_bar_from = 23;  // black over the first 23 pixels: the hub stays free
inline constexpr PIXPOINT pivot_at = {120, 116};
inline constexpr PIXPOINT needle_pivot = {0, 3};
inline constexpr double pounds_per_kilogram = 2.2;
inline constexpr double full_scale = 11;  // x100 kilograms per hour

// 0 at about 2 o'clock, 11 at about 10 o'clock: 241.7 degrees clockwise through 6 o'clock.
inline constexpr std::array<CalibrationPoint, 2> rows = {{{201, 67, 0.0}, {37, 67, 11.0}}};

inline constexpr PIXPOINT readout_at = {94, 42};
inline constexpr Size readout_box = {148, 36};

consteval const Member& member(std::string_view name) {
  for (const Member& m : members)
    if (m.name == name) return m;
  throw "no fuel flow gauge of that name";
}

}  // namespace vk4::fuelflow
