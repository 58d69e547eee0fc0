// The blank autopilot button: the buttons' face, unlabelled and unlit, and nothing else.
#include "gauges/autopilot/buttons.h"

namespace {

using namespace vk4;

constinit StaticImage face = static_image(face, buttons::blank_background);
constinit auto mouse = mouse_table(buttons::button_size);

}  // namespace

VK4_GAUGE("vk4_ap_dummy", face, mouse)
