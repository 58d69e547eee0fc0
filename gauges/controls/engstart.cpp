// The START button and its lamp. The selection is read and written only through the
// binding to "engselect"; the module keeps no copy of it.
//
// While the binding holds no address (the selector is not on the panel, is installed
// after this module, or has withdrawn the name) the module never reads or writes through
// it: a click sends nothing, the lamp stays dark, the first-draw reset writes nothing,
// and every pre-update binds again, so the button works as soon as the selector is there.
#include "gauges/controls/engine_start.h"

namespace {

using namespace vk4;
namespace es = engine_start;

constinit MODULE_VAR starter_1 = {.id = es::starter_1};
constinit MODULE_VAR starter_2 = {.id = es::starter_2};
MODULE_VAR* const refreshed[] = {&starter_1, &starter_2};
constinit MODULE_VAR selector_binding = {};

int32_t* selection() { return static_cast<int32_t*>(selector_binding.pointer); }

void bind() { initialize_var_by_name(&selector_binding, es::selection_name); }

void bind_if_unbound() {
  if (selection() == nullptr) bind();
}

void reset_selection() {
  if (int32_t* s = selection()) *s = 0;
}

// Reads the selection twice: the second test sees it afresh after the first event.
int32_t HOSTCALL start_click(PIXPOINT*, uint32_t) {
  if (selection() == nullptr) return 0;
  if (*selection() == 0) trigger_key_event(es::start_engine_1, 0);
  if (selection() != nullptr && *selection() == 1) trigger_key_event(es::start_engine_2, 0);
  return 0;
}

// The selected engine's starter; for any other selection the icon's own source (none).
double HOSTCALL start_lamp(ELEMENT_ICON* icon) {
  const int32_t* s = selection();
  if (s == nullptr) return 0.0;
  const int32_t engine = *s;
  if (engine == 0) return starter_1.value.d;
  if (engine == 1) return starter_2.value.d;
  return icon->source.value.d;
}

constinit Icon button = icon(button, {.bitmap = es::start_button, .frames = 2, .position = {0, 0}, .routine = start_lamp});
constinit StaticImage face = static_image(face, es::start_face, &button);
constinit auto mouse = mouse_table(
    es::start_size, std::array{MouseArea{es::start_box, CURSOR_HAND, MOUSE_LEFT_CLICK | MOUSE_REPEAT, start_click}});

}  // namespace

VK4_GAUGE("vk4_engstart", face, mouse, .refreshed = refreshed, .pre_initialize = bind,
          .pre_update = bind_if_unbound, .first_draw = reset_selection)
