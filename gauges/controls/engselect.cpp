// The engine selector: a two-position lever whose click flips the selection. The
// selection is a static published to the host as "engselect" from pre-install to pre-kill.
#include "gauges/controls/engine_start.h"

namespace {

using namespace vk4;
namespace es = engine_start;

constinit int32_t selector = 0;
int32_t* const statics[] = {&selector};

void publish() { register_var_by_name(&selector, es::named_int32, es::selection_name); }
void withdraw() { unregister_var_by_name(es::selection_name); }

// 1 - selector in 32-bit arithmetic. It is done unsigned, where it wraps: the signed
// subtraction overflows (undefined) for a selection written as the most negative value.
int32_t HOSTCALL flip(PIXPOINT*, uint32_t) {
  selector = static_cast<int32_t>(1u - static_cast<uint32_t>(selector));
  return 0;
}

// The selection read unsigned: 0 LEFT, 1 RIGHT; -1 reads as 4294967295.
double HOSTCALL selector_routine(ELEMENT_ICON*) { return static_cast<uint32_t>(selector); }

constinit Icon lever = icon(lever, {.bitmap = es::selector_lever,
                                    .frames = 2,
                                    .position = es::selector_lever_at,
                                    .routine = selector_routine});
constinit StaticImage face = static_image(face, es::selector_face, &lever);
constinit auto mouse =
    mouse_table(es::selector_size, std::array{MouseArea{es::selector_box, CURSOR_HAND, MOUSE_LEFT_CLICK, flip}});

}  // namespace

VK4_GAUGE("vk4_engselect", face, mouse, .statics = statics, .pre_install = publish, .pre_kill = withdraw)
