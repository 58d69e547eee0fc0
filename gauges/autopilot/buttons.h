// The autopilot panel's push keys, one row per module: the master key, the five hold-mode
// buttons, the wing leveler and the yaw damper. Each lights while its state variable
// reads 1. A two-state key sends its on event while its state (as refreshed at the last
// pre-update) reads exactly 0.0, else its off event, then its companion events in order;
// the yaw damper sends its one toggle event whatever the state.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/gauge.h"

namespace vk4::buttons {

enum class Kind { TwoState, Toggle };

struct Member {
  std::string_view name;
  std::string_view legend;
  Kind kind;
  Size size;
  int32_t background;
  int32_t icon;    // frame 0 unlit, frame 1 lit
  uint32_t state;  // the icon's source; a two-state key also reads it as its module variable
  uint32_t on;     // a two-state key: sent while the state reads 0; a toggle: its one event
  uint32_t off;
  std::array<uint32_t, 2> companions;  // sent after, in order, whatever the state
  int companion_count;
};

inline constexpr Size key_size = {20, 20};     // the master key
inline constexpr Size button_size = {30, 30};  // every other key

// Hold modes: the off event is always the on event plus 8. The heading button releases
// NAV and approach hold; NAV, approach and back course release heading hold.
inline constexpr uint32_t heading_off = 0x10117, nav_off = 0x1011B, approach_off = 0x10116;

inline constexpr Member members[] = {
    {"vk4_autopilot", "AP", Kind::TwoState, key_size, 0x1700, 0x1800, 0x67, 0x10100, 0x100FF, {}, 0},
    {"vk4_ap_alt", "ALT", Kind::TwoState, button_size, 0x100, 0x1100, 0x6C, 0x10110, 0x10118, {}, 0},
    {"vk4_ap_hdg", "HDG", Kind::TwoState, button_size, 0x100, 0x1200, 0x6A, 0x1010F, heading_off,
     {nav_off, approach_off}, 2},
    {"vk4_ap_nav", "NAV", Kind::TwoState, button_size, 0x100, 0x1100, 0x69, 0x10113, nav_off, {heading_off}, 1},
    {"vk4_ap_appr", "APPR", Kind::TwoState, button_size, 0x100, 0x1300, 0x70, 0x1010E, approach_off, {heading_off}, 1},
    {"vk4_ap_bc", "BC", Kind::TwoState, button_size, 0x100, 0x1100, 0x71, 0x10112, 0x1011A, {heading_off}, 1},
    {"vk4_wing_leveler", "LVL", Kind::TwoState, button_size, 0x100, 0x1200, 0x68, 0x10111, 0x10119, {}, 0},
    {"vk4_yaw_damper", "Y/D", Kind::Toggle, button_size, 0x100, 0x1100, 0x72, 0x10101, 0, {}, 0},
};

// The one area covers all but the last column and row.
constexpr PIXBOX box(Size s) { return {0, 0, s.w - 1, s.h - 1}; }

consteval const Member& member(std::string_view name) {
  for (const Member& m : members)
    if (m.name == name) return m;
  throw "no autopilot key of that name";
}

// The blank button that fills a button position: the buttons' background alone.
inline constexpr int32_t blank_background = 0x100;

}  // namespace vk4::buttons
