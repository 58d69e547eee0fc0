// The engine control quadrant, one 404 x 250 picture: pitch trim indicator, port H.P.
// cock lever, port and starboard R.P.M. levers, starboard H.P. cock lever, flap lever.
// Only the H.P. cock levers take clicks, three positions each.
#pragma once

#include <array>
#include <cstdint>

#include "framework/gauge.h"

namespace vk4::throttle {

inline constexpr Size size = {404, 250};
inline constexpr int32_t face_bitmap = 0x100;

// H.P. cock levers: frames 0 H.P.C. SHUT (knob lowest), 1 OPEN, 2 LOCK OUT (highest).
inline constexpr Size hp_cock_size = {30, 180};
struct HpCock {
  int32_t bitmap;
  PIXPOINT at;
  uint32_t source;  // the lever as a fraction: 0 SHUT, 0.25 OPEN, 1 LOCK OUT
  uint32_t event;   // sets the lever; the value on a scale where 16384 is full travel
  PIXBOX lock_out, open, shut;  // the click areas, each over its legend and the slot
};
inline constexpr HpCock port = {0x1100, {120, 14}, 0x230, 0x1017F,
                                {109, 44, 36, 32}, {108, 79, 37, 34}, {107, 117, 39, 34}};
inline constexpr HpCock starboard = {0x1200, {247, 14}, 0x23A, 0x10180,
                                     {251, 44, 35, 30}, {251, 77, 37, 36}, {252, 118, 35, 34}};
inline constexpr uint32_t lock_out_value = 16384, open_value = 4096, shut_value = 0;

// The trim pointer: a slider held at x = 56, its top row at 33 + (trim + 0.26) x scale.
inline constexpr int32_t trim_bitmap = 0x1500;
inline constexpr Size trim_size = {10, 10};
inline constexpr PIXPOINT trim_at = {56, 33};
inline constexpr uint32_t trim_source = 0x30F;
inline constexpr double trim_offset = 0.26;
inline constexpr double trim_scale = 321.153846153846;
// The scale's marks, top ("1", nose down) to bottom, and their labels.
inline constexpr int trim_marks[] = {38, 58, 80, 100, 120, 143, 165, 186, 205};
inline constexpr const char* trim_labels[] = {"1", "3/4", "1/2", "1/4", "0", "1/4", "1/2", "3/4", "1"};

// The flap lever: frames 0 to 4 at the detents UP, 11, 16, 26, DN from the top down.
inline constexpr int32_t flap_bitmap = 0x1600;
inline constexpr Size flap_size = {20, 140};
inline constexpr PIXPOINT flap_at = {337, 48};
inline constexpr uint32_t flap_source = 0x148;  // 4096 per detent
inline constexpr int flap_detent_rows[] = {12, 41, 70, 99, 128};  // the head's centre in the frame
inline constexpr const char* flap_detents[] = {"UP", "11", "16", "26", "DN"};

// The R.P.M. levers: frames 0 (IDLING) to 5 (MAX), one per 3200 of lever position.
inline constexpr Size rpm_lever_size = {35, 240};
struct RpmLever {
  int32_t bitmap;
  PIXPOINT at;
  uint32_t position;  // module variable: 0 at IDLING, rising toward MAX
};
inline constexpr RpmLever port_rpm = {0x1700, {162, 1}, 0x80};
inline constexpr RpmLever starboard_rpm = {0x1800, {198, 1}, 0xA3};
inline constexpr double rpm_lever_step = 3200;

}  // namespace vk4::throttle
