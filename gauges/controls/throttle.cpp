// The engine control quadrant. Every lever picture and the trim pointer follow the
// simulator; the gauge keeps no lever position of its own. One static, lever_frame,
// is shared by all four lever icons: the last frame any of them computed.
#include <cmath>

#include "gauges/controls/throttle.h"

namespace {

using namespace vk4;
namespace t = throttle;

constinit int32_t lever_frame = 0;
int32_t* const statics[] = {&lever_frame};

constinit MODULE_VAR port_rpm_position = {.id = t::port_rpm.position};
constinit MODULE_VAR starboard_rpm_position = {.id = t::starboard_rpm.position};
MODULE_VAR* const refreshed[] = {&port_rpm_position, &starboard_rpm_position};

// 0 (an ordered test, so -0 too) shows H.P.C. SHUT, strictly between 0 and 1 OPEN,
// exactly 1 LOCK OUT. Anything else leaves lever_frame as the last lever routine set it.
double HOSTCALL hp_cock_lever(ELEMENT_ICON* icon) {
  const double v = icon->source.value.d;
  if (v == 0) lever_frame = 0;
  if (v > 0 && v < 1) lever_frame = 1;
  if (v == 1) lever_frame = 2;
  return lever_frame;
}

// The quotient truncated toward zero to a 32-bit integer. The conversion is defined for
// every input: a value that is not a number gives 0 (IDLING), and quotients beyond the
// 32-bit range give its ends (the host shows the last frame for them).
int32_t truncate_frame(double q) {
  if (std::isnan(q)) return 0;
  if (q >= 2147483647.0) return INT32_MAX;
  if (q <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(q);
}

template <MODULE_VAR& Position>
double HOSTCALL rpm_lever(ELEMENT_ICON*) {
  const int32_t f = truncate_frame(Position.value.d / t::rpm_lever_step);
  lever_frame = f;
  return f;
}

// Divided by 4096: one unit per detent, neither clamped nor rounded.
double HOSTCALL flap_lever(ELEMENT_ICON* icon) { return icon->source.value.d * 0.000244140625; }

double HOSTCALL trim_x(ELEMENT_SLIDER* s) { return s->source_x.value.d; }
double HOSTCALL trim_y(ELEMENT_SLIDER* s) { return s->source_y.value.d + t::trim_offset; }

constinit Icon starboard_rpm = icon(starboard_rpm, {.bitmap = t::starboard_rpm.bitmap,
                                                    .frames = 6,
                                                    .position = t::starboard_rpm.at,
                                                    .routine = rpm_lever<starboard_rpm_position>});
constinit Icon port_rpm = icon(port_rpm,
                               {.bitmap = t::port_rpm.bitmap,
                                .frames = 6,
                                .position = t::port_rpm.at,
                                .routine = rpm_lever<port_rpm_position>},
                               &starboard_rpm);
constinit Icon flap = icon(
    flap, {.bitmap = t::flap_bitmap, .frames = 5, .position = t::flap_at, .source = t::flap_source, .routine = flap_lever},
    &port_rpm);
constinit Slider trim = slider(trim,
                               {.bitmap = t::trim_bitmap,
                                .position = t::trim_at,
                                .source_x = 0,
                                .scale_x = 0,
                                .source_y = t::trim_source,
                                .scale_y = t::trim_scale,
                                .routine_x = trim_x,
                                .routine_y = trim_y},
                               &flap);
constinit Icon starboard_hp = icon(starboard_hp,
                                   {.bitmap = t::starboard.bitmap,
                                    .frames = 3,
                                    .position = t::starboard.at,
                                    .source = t::starboard.source,
                                    .routine = hp_cock_lever},
                                   &trim);
constinit Icon port_hp = icon(
    port_hp,
    {.bitmap = t::port.bitmap, .frames = 3, .position = t::port.at, .source = t::port.source, .routine = hp_cock_lever},
    &starboard_hp);
constinit StaticImage face = static_image(face, t::face_bitmap, &port_hp);

template <const t::HpCock& L>
constexpr std::array<MouseArea, 3> hp_cock_areas() {
  return {MouseArea{L.lock_out, CURSOR_HAND, MOUSE_LEFT_CLICK, send_event<L.event, t::lock_out_value>},
          MouseArea{L.open, CURSOR_HAND, MOUSE_LEFT_CLICK, send_event<L.event, t::open_value>},
          MouseArea{L.shut, CURSOR_HAND, MOUSE_LEFT_CLICK, send_event<L.event, t::shut_value>}};
}
constexpr auto port_areas = hp_cock_areas<t::port>();
constexpr auto starboard_areas = hp_cock_areas<t::starboard>();
constinit auto mouse = mouse_table(t::size, std::array{port_areas[0], port_areas[1], port_areas[2],
                                                       starboard_areas[0], starboard_areas[1], starboard_areas[2]});

}  // namespace

VK4_GAUGE("vk4_throttle", face, mouse, .refreshed = refreshed, .statics = statics)
