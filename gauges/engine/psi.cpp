// A PSI gauge: the engine's ratio at 500 psi per unit, kept on the dial.
#include "gauges/engine/psi.h"

namespace {

using namespace vk4;
constexpr const psi::Member& M = psi::member(VK4_GAUGE_NAME);

double HOSTCALL psi_needle(ELEMENT_NEEDLE* n) {
  return strict_clamp(n->source.value.d * psi::psi_per_unit, 0, psi::full_scale);
}

constinit auto rows = calibration(psi::rows);
constinit Needle needle_element = needle(needle_element,
                                         {.bitmap = psi::needle_bitmap,
                                          .pivot_at = psi::pivot_at,
                                          .pivot = psi::needle_pivot,
                                          .source = M.source,
                                          .routine = psi_needle},
                                         rows);
constinit StaticImage dial = static_image(dial, psi::dial_bitmap, &needle_element);
constinit auto mouse = mouse_table(psi::size);

}  // namespace

VK4_GAUGE(M.name, dial, mouse)
