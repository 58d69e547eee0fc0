// A toggle switch: the lever follows the simulator's state variable; a click asks the
// simulator to flip the system. Built once per row of the family table.
#include "gauges/electrical/switches.h"

namespace {

using namespace vk4;
constexpr const switches::Member& M = switches::member(VK4_GAUGE_NAME);

// Frame 0 lever down (off), 1 lever up (on): the state as the host delivered it.
constinit Icon lever = icon(lever, {.bitmap = switches::lever_bitmap,
                                    .frames = 2,
                                    .position = M.lever_at,
                                    .source = M.state,
                                    .routine = source_value});
constinit StaticImage background = static_image(background, M.background, &lever);

constinit auto mouse = mouse_table(
    M.size, std::array{MouseArea{M.box, CURSOR_HAND, MOUSE_LEFT_CLICK, send_event<M.toggle_event>}});

}  // namespace

VK4_GAUGE(M.name, background, mouse)
