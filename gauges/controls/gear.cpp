// The gear handle: one event in both positions; the simulator moves the handle to the
// other position and the picture follows it.
#include "gauges/controls/gear.h"

namespace {

using namespace vk4;

double HOSTCALL gear_handle(ELEMENT_ICON* icon) { return strict_clamp(icon->source.value.d / gear::down, 0, 1); }

constinit Icon handle =
    icon(handle, {.bitmap = gear::handle_bitmap, .frames = 2, .position = {0, 0}, .source = gear::source, .routine = gear_handle});
constinit StaticImage face = static_image(face, gear::background, &handle);
constinit auto mouse =
    mouse_table(gear::size, std::array{MouseArea{gear::box, CURSOR_UP_ARROW, MOUSE_LEFT_CLICK, send_event<gear::handle_event>}});

}  // namespace

VK4_GAUGE("vk4_hear_handle", face, mouse)
