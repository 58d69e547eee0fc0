// An RPM gauge: the needle shows engine speed, clamped to the dial.
#include "gauges/engine/rpm.h"

namespace {

using namespace vk4;
constexpr const rpm::Member& M = rpm::member(VK4_GAUGE_NAME);

// Revolutions per minute to hundreds, kept on the dial.
double HOSTCALL rpm_needle(ELEMENT_NEEDLE* n) {
  return strict_clamp(n->source.value.d / 100, 0, rpm::full_scale);
}

constinit auto rows = calibration(rpm::rows);
constinit Needle needle_element = needle(needle_element,
                                         {.bitmap = rpm::needle_bitmap,
                                          .pivot_at = rpm::pivot_at,
                                          .pivot = rpm::needle_pivot,
                                          .source = M.source,
                                          .routine = rpm_needle},
                                         rows);
constinit StaticImage dial = static_image(dial, rpm::dial_bitmap, &needle_element);
constinit auto mouse = mouse_table(rpm::size);

}  // namespace

VK4_GAUGE(M.name, dial, mouse)
