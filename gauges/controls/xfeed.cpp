// The crossfeed selector: a click on a position's legend asks the simulator for it; the
// knob follows the simulator's state.
#include "gauges/controls/xfeed.h"

namespace {

using namespace vk4;
namespace x = xfeed;

// The state is an integer in the first four bytes of the value. A state other than 0, 1
// and 2 (the panel has no picture for one) shows the knob at OFF.
double HOSTCALL knob(ELEMENT_ICON* icon) {
  const int32_t k = icon->source.value.i;
  if (k == 1) return 1.0;
  if (k == 2) return 2.0;
  return 0.0;
}

constinit Icon knob_element =
    icon(knob_element, {.bitmap = x::knob_bitmap, .frames = 3, .position = x::knob_at, .source = x::state, .routine = knob});
constinit StaticImage face = static_image(face, x::face_bitmap, &knob_element);
constinit auto mouse = mouse_table(
    x::size, std::array{MouseArea{x::left.box, CURSOR_HAND, MOUSE_LEFT_CLICK, send_event<x::left.event>},
                        MouseArea{x::off.box, CURSOR_HAND, MOUSE_LEFT_CLICK, send_event<x::off.event>},
                        MouseArea{x::right.box, CURSOR_HAND, MOUSE_LEFT_CLICK, send_event<x::right.event>}});

}  // namespace

VK4_GAUGE("vk4_xfeed", face, mouse)
