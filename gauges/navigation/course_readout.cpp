// A course readout: the course as the host delivers it, neither wrapped nor clamped.
#include "gauges/navigation/readouts.h"

namespace {

using namespace vk4;
constexpr const readouts::Course& C = readouts::course(VK4_GAUGE_NAME);

// Single precision first; whole degrees, at least three characters: 045, 360, -01, 1000.
double HOSTCALL course_text(ELEMENT_STRING* e) {
  write_text(e, Format("%03.0f"), static_cast<float>(e->sources[0].value.d));
  return 0.0;
}

constinit String text = string_element(text, {.position = readouts::course_text_at,
                                              .box = readouts::course_box,
                                              .source = C.source,
                                              .weight = 700,
                                              .routine = course_text});
constinit StaticImage window = static_image(window, readouts::course_background, &text);
constinit auto mouse = mouse_table(readouts::course_size);

}  // namespace

VK4_GAUGE(C.name, window, mouse)
