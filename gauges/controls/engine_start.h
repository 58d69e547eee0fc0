// The engine selector and the START button: the one state shared between modules. The
// selector owns the selection (0 LEFT, engine 1; 1 RIGHT, engine 2) and publishes it as
// the named variable "engselect"; the START module binds to that name.
#pragma once

#include <cstdint>

#include "framework/gauge.h"

namespace vk4::engine_start {

inline constexpr const char* selection_name = "engselect";
inline constexpr int32_t named_int32 = 19;  // the host's type of 32-bit integer storage

// vk4_engselect
inline constexpr Size selector_size = {80, 52};
inline constexpr int32_t selector_face = 0x1300;
inline constexpr int32_t selector_lever = 0x1200;  // frame 0 to LEFT, 1 to RIGHT
inline constexpr Size selector_lever_size = {38, 30};
inline constexpr PIXPOINT selector_lever_at = {21, 3};
inline constexpr PIXBOX selector_box = {13, 0, 54, 39};

// vk4_engstart
inline constexpr Size start_size = {52, 80};
inline constexpr int32_t start_face = 0x1400;
inline constexpr int32_t start_button = 0x1300;  // frame 0 lamp dark, button out; 1 lit, pressed in
inline constexpr PIXBOX start_box = {8, 44, 34, 34};
inline constexpr uint32_t starter_1 = 0x233, starter_2 = 0x23D;  // engaged: 0 off, 1 on
inline constexpr uint32_t start_engine_1 = 0x102FC, start_engine_2 = 0x102FD;

}  // namespace vk4::engine_start
