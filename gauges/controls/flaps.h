// The flap indicator: a dial with one needle against the marks UP, 11, 16, 26 and 40,
// reading the flap handle (4096 per detent). The settings are equally spaced in the
// variable but not on the dial.
#pragma once

#include <array>
#include <cstdint>

#include "framework/gauge.h"

namespace vk4::flaps {

inline constexpr Size size = {167, 163};
inline constexpr int32_t dial_bitmap = 0x100;
inline constexpr int32_t needle_bitmap = 0x1100;
inline constexpr Size needle_size = {50, 7};
inline constexpr PIXPOINT pivot_at = {84, 81};
inline constexpr PIXPOINT needle_pivot = {0, 3};  // the arrow has no tail
inline constexpr uint32_t source = 0x148;
inline constexpr double full = 4;

inline constexpr std::array<CalibrationPoint, 5> rows = {
    {{83, 23, 0.0}, {122, 34, 1.0}, {135, 49, 2.0}, {144, 99, 3.0}, {108, 136, 4.0}}};
inline constexpr const char* marks[] = {"UP", "11", "16", "26", "40"};

}  // namespace vk4::flaps
