// The landing gear handle: a tall, narrow gauge; the wheel-shaped knob stands at the top
// of its slot with the handle up and at the bottom with it down.
#pragma once

#include <cstdint>

#include "framework/gauge.h"

namespace vk4::gear {

inline constexpr Size size = {60, 200};
inline constexpr int32_t background = 0x100;  // all black: it only gives the gauge its size
inline constexpr int32_t handle_bitmap = 0x1100;  // frame 0 up, 1 down
inline constexpr uint32_t source = 0x14B;       // 0 up; 16380 and more down
inline constexpr double down = 16380;
inline constexpr PIXBOX box = {0, 0, 59, 190};  // all but the bottom ten rows
inline constexpr uint32_t handle_event = 0x10022;

}  // namespace vk4::gear
