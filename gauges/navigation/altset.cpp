// The altimeter setting unit: the window shows the host's setting; the knob's upper half
// steps it up, the lower half down, repeating while held. Step, units and limits are the
// host's.
#include "gauges/navigation/readouts.h"

namespace {

using namespace vk4;
namespace r = readouts;

// Single precision first; whole numbers, at least five characters: 01013, 100000, -0001.
double HOSTCALL setting_text(ELEMENT_STRING* e) {
  write_text(e, Format("%05.0f"), static_cast<float>(e->sources[0].value.d));
  return 0.0;
}

constinit String text = string_element(
    text, {.position = r::altset_text_at, .box = r::altset_box, .source = r::altset_source, .weight = 500,
           .routine = setting_text});
constinit StaticImage plate = static_image(plate, r::altset_plate, &text);
constinit auto mouse = mouse_table(
    r::altset_size,
    std::array{MouseArea{r::altset_up, CURSOR_UP_ARROW, MOUSE_LEFT_CLICK | MOUSE_REPEAT, send_event<r::altset_step_up>},
               MouseArea{r::altset_down, CURSOR_DOWN_ARROW, MOUSE_LEFT_CLICK | MOUSE_REPEAT,
                         send_event<r::altset_step_down>}});

}  // namespace

VK4_GAUGE("vk4_altset", plate, mouse)
