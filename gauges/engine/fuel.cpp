// The fuel quantity readout: printed as the simulator gives it, narrowed to single
// precision first, so the decimals are those of the nearest single-precision number.
#include "gauges/engine/fuel.h"

namespace {

using namespace vk4;

double HOSTCALL fuel_readout(ELEMENT_STRING* e) {
  write_text(e, Format("%.2f"), static_cast<float>(e->sources[0].value.d));
  return 0.0;
}

constinit String readout = string_element(
    readout, {.position = fuel::readout_at, .box = fuel::readout_box, .source = fuel::source, .weight = 500,
              .routine = fuel_readout});
constinit StaticImage dial = static_image(dial, fuel::dial_bitmap, &readout);
constinit auto mouse = mouse_table(fuel::size);

}  // namespace

VK4_GAUGE("vk4_fuel", dial, mouse)
