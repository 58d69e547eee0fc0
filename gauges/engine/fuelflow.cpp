// A fuel flow gauge: the needle in hundreds of kilograms per hour, clamped to the dial;
// the readout in whole kilograms per hour, without limits.
#include "gauges/engine/fuelflow.h"

namespace {

using namespace vk4;
constexpr const fuelflow::Member& M = fuelflow::member(VK4_GAUGE_NAME);

// Pounds per hour to hundreds of kilograms per hour: divided by 2.2, then by 100.
double HOSTCALL fuelflow_needle(ELEMENT_NEEDLE* n) {
  return strict_clamp(n->source.value.d / 220, 0, fuelflow::full_scale);
}

// Single precision first, the division by the double 2.2, single precision again; at
// least four characters, zero-padded: 0455, -010, 10000.
double HOSTCALL fuelflow_readout(ELEMENT_STRING* e) {
  const float s = static_cast<float>(e->sources[0].value.d);
  const float q = static_cast<float>(s / fuelflow::pounds_per_kilogram);
  write_text(e, Format("%04.0f"), q);
  return 0.0;
}

constinit String readout = string_element(readout, {.position = fuelflow::readout_at,
                                                    .box = fuelflow::readout_box,
                                                    .source = M.source,
                                                    .weight = 500,
                                                    .routine = fuelflow_readout});
constinit auto rows = calibration(fuelflow::rows);
constinit Needle needle_element = needle(needle_element,
                                         {.bitmap = fuelflow::needle_bitmap,
                                          .pivot_at = fuelflow::pivot_at,
                                          .pivot = fuelflow::needle_pivot,
                                          .source = M.source,
                                          .routine = fuelflow_needle},
                                         rows, M.readout ? &readout : nullptr);
constinit StaticImage dial = static_image(dial, fuelflow::dial_bitmap, &needle_element);
constinit auto mouse = mouse_table(fuelflow::size);

}  // namespace

VK4_GAUGE(M.name, dial, mouse)
