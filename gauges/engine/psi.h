// The PSI gauges of both engines: a dial from 0 to 600 psi; the source is a ratio the
// gauge shows at 500 psi per unit. The two modules differ only in the needle's source.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/gauge.h"

namespace vk4::psi {

struct Member {
  std::string_view name;
  uint32_t source;  // the engine's ratio
};

inline constexpr Member members[] = {
    {"vk4_psi1", 0x275},  // engine 1, left
    {"vk4_psi2", 0x288},  // engine 2, right
};

inline constexpr Size size = {159, 157};
inline constexpr int32_t dial_bitmap = 0x100;
inline constexpr int32_t needle_bitmap = 0x1100;
inline constexpr Size needle_size = {70, 7};
inline constexpr PIXPOINT pivot_at = {78, 76};
inline constexpr PIXPOINT needle_pivot = {13, 3};
inline constexpr double psi_per_unit = 500;
inline constexpr double full_scale = 600;

// 0 just left of 6 o'clock, 600 just right of it: 325.1 degrees clockwise the long way.
inline constexpr std::array<CalibrationPoint, 2> rows = {{{64, 140, 0.0}, {105, 141, 600.0}}};

consteval const Member& member(std::string_view name) {
  for (const Member& m : members)
    if (m.name == name) return m;
  throw "no PSI gauge of that name";
}

}  // namespace vk4::psi
