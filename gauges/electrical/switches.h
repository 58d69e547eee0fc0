// The ten toggle switches of the electrical and lighting row: one table, one row per
// module. The gauge (switches.cpp) and its artwork are built from these rows.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/gauge.h"

namespace vk4::switches {

struct Member {
  std::string_view name;    // module and gauge name
  std::string_view legend;  // along the top of the background
  int32_t background;       // resource number of the background
  Size size;                // of the background, and so of the gauge
  PIXPOINT lever_at;        // where the lever icon sits
  uint32_t state;           // simulator variable the lever shows: 0 off, 1 on
  PIXBOX box;               // the one click area
  uint32_t toggle_event;    // sent with value 0 by a click
};

// The two lever frames, the same pictures in every switch: down (off) and up (on).
inline constexpr int32_t lever_bitmap = 0x1100;
inline constexpr Size lever_size = {30, 50};

inline constexpr Member members[] = {
    {"vk4_battery", "BATT", 0x1300, {40, 50}, {5, 0}, 0x16C, {0, 0, 39, 48}, 0x102C1},
    {"vk4_lgen", "L GEN", 0x1500, {40, 50}, {5, 0}, 0x235, {0, 0, 39, 49}, 0x1033B},
    {"vk4_rgen", "R GEN", 0x1600, {40, 50}, {5, 0}, 0x23F, {0, 0, 39, 49}, 0x1033C},
    {"vk4_avionics", "AVION", 0x1700, {40, 50}, {5, 0}, 0x305, {0, 0, 39, 49}, 0x102F5},
    {"vk4_deice", "DEICE", 0x1200, {40, 50}, {5, 0}, 0x389, {0, 0, 39, 48}, 0x10321},
    {"vk4_pitotheat", "PITOT", 0x100, {40, 50}, {5, 0}, 0x0D, {0, 0, 39, 48}, 0x10142},
    {"vk4_navlight", "NAV", 0x100, {30, 50}, {0, 0}, 0x26B, {0, 9, 29, 40}, 0x1034B},
    {"vk4_bcnlight", "BCN", 0x1200, {30, 50}, {0, 0}, 0x170, {0, 9, 29, 40}, 0x102BF},
    {"vk4_strobelight", "STR", 0x1200, {30, 50}, {0, 0}, 0x0B, {0, 8, 29, 41}, 0x10018},
    {"vk4_landlight", "LAND", 0x100, {30, 50}, {0, 0}, 0x0E, {0, 8, 29, 41}, 0x100D7},
};

consteval const Member& member(std::string_view name) {
  for (const Member& m : members)
    if (m.name == name) return m;
  throw "no switch of that name";
}

}  // namespace vk4::switches
