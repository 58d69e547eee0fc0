// The fuel crossfeed selector: a rotary knob, LEFT, OFF and RIGHT, legend "FUEL XFEED".
#pragma once

#include <cstdint>

#include "framework/gauge.h"

namespace vk4::xfeed {

inline constexpr Size size = {100, 60};
inline constexpr int32_t face_bitmap = 0x1800;
inline constexpr int32_t knob_bitmap = 0x1200;  // frames: 0 OFF (up), 1 LEFT, 2 RIGHT
inline constexpr Size knob_size = {32, 50};
inline constexpr PIXPOINT knob_at = {34, 0};
inline constexpr uint32_t state = 0x134;  // an integer variable: 0 OFF, 1 LEFT, 2 RIGHT

struct Position {
  PIXBOX box;  // over the position's legend
  uint32_t event;
};
// The RIGHT box reaches 7 columns past the right edge of the background.
inline constexpr Position left = {{3, 2, 32, 57}, 0x10161};
inline constexpr Position off = {{36, 0, 28, 48}, 0x1015F};
inline constexpr Position right = {{66, 0, 41, 54}, 0x10160};

}  // namespace vk4::xfeed
