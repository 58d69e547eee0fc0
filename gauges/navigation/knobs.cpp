// A heading or course knob. Step size, limits and wrap-around are the host's.
#include "gauges/navigation/knobs.h"

namespace {

using namespace vk4;
constexpr const knobs::Member& M = knobs::member(VK4_GAUGE_NAME);

double HOSTCALL course(ELEMENT_NEEDLE* n) { return n->source.value.d; }

constinit auto rows = calibration(knobs::face_rows);
constinit Needle face = needle(face,
                               {.bitmap = knobs::face_bitmap,
                                .pivot_at = knobs::face_pivot_at,
                                .pivot = knobs::face_pivot,
                                .source = knobs::face_source,
                                .routine = course},
                               rows);
constinit StaticImage knob = static_image(knob, M.background, M.face ? &face : nullptr);
constinit auto mouse = mouse_table(knobs::size, std::array{
    MouseArea{knobs::left_half, CURSOR_DOWN_ARROW, M.flags, send_event<M.down_event>},
    MouseArea{knobs::right_half, CURSOR_UP_ARROW, M.flags, send_event<M.up_event>}});

}  // namespace

VK4_GAUGE(M.name, knob, mouse)
