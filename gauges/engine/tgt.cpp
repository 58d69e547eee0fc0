// A turbine gas temperature gauge: degrees Rankine to hundreds of degrees Celsius.
#include "gauges/engine/tgt.h"

namespace {

using namespace vk4;
constexpr const tgt::Member& M = tgt::member(VK4_GAUGE_NAME);

// The offset is 491, not 491.67: the needle reads 0.37 degrees above an exact conversion.
double HOSTCALL tgt_needle(ELEMENT_NEEDLE* n) {
  return strict_clamp((n->source.value.d - 491) / 180, tgt::lowest, tgt::highest);
}

constinit auto rows = calibration(tgt::rows);
constinit Needle needle_element = needle(needle_element,
                                         {.bitmap = tgt::needle_bitmap,
                                          .pivot_at = tgt::pivot_at,
                                          .pivot = tgt::needle_pivot,
                                          .source = M.source,
                                          .routine = tgt_needle},
                                         rows);
constinit StaticImage dial = static_image(dial, M.background, &needle_element);
constinit auto mouse = mouse_table(M.size);

}  // namespace

VK4_GAUGE(M.name, dial, mouse)
