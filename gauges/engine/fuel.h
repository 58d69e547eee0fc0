// The fuel quantity readout: the number the simulator gives, with two decimals, in the
// lower middle of a dial face marked "FUEL" over "QTY"; the face has no needle.
#pragma once

#include <cstdint>

#include "framework/gauge.h"

namespace vk4::fuel {

inline constexpr Size size = {167, 163};
inline constexpr int32_t dial_bitmap = 0x100;
inline constexpr uint32_t source = 0x317;
inline constexpr PIXPOINT readout_at = {58, 85};
inline constexpr Size readout_box = {111, 28};

// The painted scale (no needle reads it): 0 just left of 6 o'clock round to 22 just right
// of it, clockwise, in degrees from 12 o'clock.
inline constexpr PIXPOINT centre = {83, 81};
inline constexpr double scale_from = 190, scale_sweep = 340, scale_top = 22;

}  // namespace vk4::fuel
