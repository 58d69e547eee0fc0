// The flap indicator's needle: one unit per detent, kept on the dial.
#include "gauges/controls/flaps.h"

namespace {

using namespace vk4;

double HOSTCALL flap_needle(ELEMENT_NEEDLE* n) {
  return strict_clamp(n->source.value.d * 0.000244140625, 0, flaps::full);
}

constinit auto rows = calibration(flaps::rows);
constinit Needle needle_element = needle(needle_element,
                                         {.bitmap = flaps::needle_bitmap,
                                          .pivot_at = flaps::pivot_at,
                                          .pivot = flaps::needle_pivot,
                                          .source = flaps::source,
                                          .routine = flap_needle},
                                         rows);
constinit StaticImage dial = static_image(dial, flaps::dial_bitmap, &needle_element);
constinit auto mouse = mouse_table(flaps::size);

}  // namespace

VK4_GAUGE("vk4_flaps", dial, mouse)
