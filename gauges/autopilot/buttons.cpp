// An autopilot key: it shows its state and asks the host to change it; the state lives
// in the host and changes only in answer to the key events.
#include "gauges/autopilot/buttons.h"

namespace {

using namespace vk4;
constexpr const buttons::Member& M = buttons::member(VK4_GAUGE_NAME);
constexpr bool two_state = M.kind == buttons::Kind::TwoState;

constinit MODULE_VAR state = {.id = M.state};
MODULE_VAR* const refreshed[] = {&state};

// An ordered comparison: -0 reads as 0, a value that is not a number does not. Every
// event is sent whatever the host answers to the ones before.
int32_t HOSTCALL key_click(PIXPOINT*, uint32_t) {
  if constexpr (two_state) {
    trigger_key_event(state.value.d == 0.0 ? M.on : M.off, 0);
    for (int i = 0; i < M.companion_count; ++i) trigger_key_event(M.companions[i], 0);
  } else {
    trigger_key_event(M.on, 0);
  }
  return 0;
}

constinit Icon light = icon(light, {.bitmap = M.icon, .frames = 2, .position = {0, 0}, .source = M.state, .routine = source_value});
constinit StaticImage face = static_image(face, M.background, &light);
constinit auto mouse =
    mouse_table(M.size, std::array{MouseArea{buttons::box(M.size), CURSOR_HAND, MOUSE_LEFT_CLICK, key_click}});

}  // namespace

VK4_GAUGE(M.name, face, mouse, .refreshed = two_state ? std::span<MODULE_VAR* const>(refreshed) : std::span<MODULE_VAR* const>())
