// The propeller lights and their feathering logic. A latch per engine links the two:
// set only by the 32° light's routine, read by the 20°/18° routine and by the pre-update
// logic, which therefore see the RPM as the 32° light was last evaluated.
#include "gauges/controls/proplights.h"

namespace {

using namespace vk4;
namespace p = proplights;

constinit int32_t port_rpm_latch = 0;
constinit int32_t stbd_rpm_latch = 0;
int32_t* const statics[] = {&port_rpm_latch, &stbd_rpm_latch};

constinit MODULE_VAR propeller_1 = {.id = p::port.propeller};
constinit MODULE_VAR port_lever = {.id = p::port.lever};
constinit MODULE_VAR stbd_lever = {.id = p::starboard.lever};
constinit MODULE_VAR condition = {.id = p::condition_flag};
constinit MODULE_VAR propeller_2 = {.id = p::starboard.propeller};
MODULE_VAR* const refreshed[] = {&propeller_1, &port_lever, &stbd_lever, &condition, &propeller_2};

// Lit above 100 RPM; otherwise the RPM unchanged (0 at rest) and the latch cleared.
template <int32_t& Latch>
double HOSTCALL light_32(ELEMENT_ICON* icon) {
  const double v = icon->source.value.d;
  if (v > p::lit_above_rpm) {
    Latch = 1;
    return 1;
  }
  Latch = 0;
  return v;
}

// Both lit while the flag reads exactly 1, the lever is below 1000 and the latch is set.
template <MODULE_VAR& Lever, int32_t& Latch>
double HOSTCALL light_20_18(ELEMENT_ICON*) {
  if (!(condition.value.d == 1)) return 0;
  if (!(Lever.value.d < p::lever_threshold)) return 0;
  if (Latch != 1) return 0;
  return 1;
}

// After the refresh, four tests in this order; every comparison is ordered, so a value
// that is not a number fails it, and a lever at exactly 1000 sends nothing.
void propeller_logic() {
  if (port_lever.value.d > p::lever_threshold)
    if (propeller_1.value.d > 0) trigger_key_event(p::port.advanced_event, 0);
  if (stbd_lever.value.d > p::lever_threshold)
    if (propeller_2.value.d > 0) trigger_key_event(p::starboard.advanced_event, 0);
  if (port_lever.value.d < p::lever_threshold)
    if (condition.value.d == 1)
      if (port_rpm_latch == 1)
        if (propeller_1.value.d < 1) trigger_key_event(p::port.idle_event, 0);
  if (stbd_lever.value.d < p::lever_threshold)
    if (condition.value.d == 1)
      if (stbd_rpm_latch == 1)
        if (propeller_2.value.d < 1) trigger_key_event(p::starboard.idle_event, 0);
}

constinit Icon stbd_20_18 = icon(stbd_20_18, {.bitmap = p::starboard.light_20_18,
                                              .frames = 2,
                                              .position = p::starboard.at_20_18,
                                              .routine = light_20_18<stbd_lever, stbd_rpm_latch>});
constinit Icon stbd_32 = icon(stbd_32,
                              {.bitmap = p::starboard.light_32,
                               .frames = 2,
                               .position = p::starboard.at_32,
                               .source = p::starboard.rpm,
                               .routine = light_32<stbd_rpm_latch>},
                              &stbd_20_18);
constinit Icon port_20_18 = icon(port_20_18,
                                 {.bitmap = p::port.light_20_18,
                                  .frames = 2,
                                  .position = p::port.at_20_18,
                                  .routine = light_20_18<port_lever, port_rpm_latch>},
                                 &stbd_32);
constinit Icon port_32 = icon(port_32,
                              {.bitmap = p::port.light_32,
                               .frames = 2,
                               .position = p::port.at_32,
                               .source = p::port.rpm,
                               .routine = light_32<port_rpm_latch>},
                              &port_20_18);
constinit StaticImage face = static_image(face, p::face_bitmap, &port_32);
constinit auto mouse = mouse_table(p::size);

}  // namespace

VK4_GAUGE("vk4_proplights", face, mouse, .refreshed = refreshed, .statics = statics, .pre_update = propeller_logic)
