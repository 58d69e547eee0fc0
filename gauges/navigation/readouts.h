// The digital windows of the navigation panel: the NAV courses in three digits, white
// bold on black, and the altimeter setting unit with its five-digit window and knob.
#pragma once

#include <cstdint>
#include <string_view>

#include "framework/gauge.h"

namespace vk4::readouts {

// ---- course readouts: one string over a pure black background
struct Course {
  std::string_view name;
  uint32_t source;  // the selected course, degrees
};
inline constexpr Course courses[] = {
    {"vk4_nav1_course", 0x2D},
    {"vk4_nav2_course", 0x36},
};
inline constexpr Size course_size = {50, 30};
inline constexpr int32_t course_background = 0x1200;
// The box reaches 2 pixels past the right and 6 past the bottom edge of the background.
inline constexpr PIXPOINT course_text_at = {5, 4};
inline constexpr Size course_box = {47, 32};

consteval const Course& course(std::string_view name) {
  for (const Course& c : courses)
    if (c.name == name) return c;
  throw "no course readout of that name";
}

// ---- the altimeter setting unit
inline constexpr Size altset_size = {200, 100};
inline constexpr int32_t altset_plate = 0x100;
inline constexpr uint32_t altset_source = 0x6D;  // in the host's units
inline constexpr PIXPOINT altset_text_at = {35, 36};
inline constexpr Size altset_box = {167, 32};
// The knob's halves meet at its centre line; row 47 lies in neither.
inline constexpr PIXBOX altset_up = {135, 8, 53, 39};
inline constexpr PIXBOX altset_down = {134, 48, 56, 33};
inline constexpr uint32_t altset_step_up = 0x10164, altset_step_down = 0x10165;

}  // namespace vk4::readouts
