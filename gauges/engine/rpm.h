// The RPM gauges of both engines: one dial, one needle, engine speed in hundreds of
// revolutions per minute from 0 to 20. The two modules differ only in the needle's source.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/gauge.h"

namespace vk4::rpm {

struct Member {
  std::string_view name;
  uint32_t source;  // engine RPM, revolutions per minute
};

inline constexpr Member members[] = {
    {"vk4_rpm1", 0x2BC},  // engine 1, left
    {"vk4_rpm2", 0x2C4},  // engine 2, right
};

inline constexpr Size size = {167, 163};
inline constexpr int32_t dial_bitmap = 0x100;
inline constexpr int32_t needle_bitmap = 0x1100;
inline constexpr Size needle_size = {70, 7};
inline constexpr PIXPOINT pivot_at = {82, 80};
inline constexpr PIXPOINT needle_pivot = {13, 3};  // the pointer reaches 56 beyond, the counterweight 13 behind
inline constexpr double full_scale = 20;           // x100 RPM

// 0 straight below the pivot; 20 at about 4 o'clock, 297.4 degrees clockwise on.
inline constexpr std::array<CalibrationPoint, 2> rows = {{{82, 140, 0.0}, {134, 107, 20.0}}};

consteval const Member& member(std::string_view name) {
  for (const Member& m : members)
    if (m.name == name) return m;
  throw "no RPM gauge of that name";
}

}  // namespace vk4::rpm
