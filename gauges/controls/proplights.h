// The propeller light panel: for each engine a column of three lights, "32°" over "20°"
// over "18°". It takes no clicks; at every pre-update it may send propeller events.
#pragma once

#include <cstdint>

#include "framework/gauge.h"

namespace vk4::proplights {

inline constexpr Size size = {192, 89};
inline constexpr int32_t face_bitmap = 0x100;
inline constexpr Size light_32_size = {29, 14};
inline constexpr Size light_20_18_size = {29, 30};

struct Column {
  int32_t light_32;     // frame 0 dark, 1 lit
  int32_t light_20_18;  // both lights, frame 0 dark, 1 lit
  PIXPOINT at_32, at_20_18;
  uint32_t rpm;         // engine RPM, the 32° light's source
  uint32_t lever;       // the R.P.M. lever position
  uint32_t propeller;   // the engine's propeller variable, 0 to 1
  uint32_t advanced_event, idle_event;
};

inline constexpr Column port = {0x1700, 0x1800, {58, 36}, {58, 51}, 0x2BC, 0x80, 0x22F, 0x10183, 0x101D5};
inline constexpr Column starboard = {0x1900, 0x2000, {105, 36}, {105, 51}, 0x2C4, 0xA3, 0x239, 0x10184, 0x101DA};

inline constexpr uint32_t condition_flag = 0x3C;  // tested for exactly 1
inline constexpr double lit_above_rpm = 100;
inline constexpr double lever_threshold = 1000;

}  // namespace vk4::proplights
