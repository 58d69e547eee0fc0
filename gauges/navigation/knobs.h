// The heading and course knobs: a click on the left half steps the setting down by one
// host step, on the right half up. Three repeat while held; the fourth, a second NAV 1
// course knob, takes single clicks and carries a face that turns with the course.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/gauge.h"

namespace vk4::knobs {

struct Member {
  std::string_view name;
  int32_t background;
  uint32_t down_event;  // the left half
  uint32_t up_event;    // the right half
  uint32_t flags;       // of both halves
  bool face;            // the turning face (a needle) over the background
};

inline constexpr uint32_t repeat = MOUSE_LEFT_CLICK | MOUSE_REPEAT;

inline constexpr Member members[] = {
    {"vk4_knob_heading", 0x1600, 0x10158, 0x10157, repeat, false},          // heading bug
    {"vk4_knob_course1", 0x1500, 0x1007E, 0x1007F, repeat, false},          // NAV 1 course
    {"vk4_knob_course2", 0x1500, 0x10080, 0x10081, repeat, false},          // NAV 2 course
    {"vk4_course1_knob", 0x1300, 0x1007E, 0x1007F, MOUSE_LEFT_CLICK, true},  // NAV 1 course
};

inline constexpr Size size = {54, 54};
// Column 28 and row 53 lie in neither half.
inline constexpr PIXBOX left_half = {0, 0, 28, 53};
inline constexpr PIXBOX right_half = {29, 0, 24, 53};

// The turning face: a needle whose two rows lie in one direction, straight below the
// pivot, so 0 to 360 is one whole clockwise turn, one degree of face per degree of course.
inline constexpr int32_t face_bitmap = 0x1400;
inline constexpr Size face_size = {50, 50};
inline constexpr PIXPOINT face_pivot_at = {28, 29};
inline constexpr PIXPOINT face_pivot = {24, 26};
inline constexpr uint32_t face_source = 0x2D;  // NAV 1 course, degrees
inline constexpr std::array<CalibrationPoint, 2> face_rows = {{{28, 51, 0.0}, {28, 51, 360.0}}};

consteval const Member& member(std::string_view name) {
  for (const Member& m : members)
    if (m.name == name) return m;
  throw "no knob of that name";
}

}  // namespace vk4::knobs
