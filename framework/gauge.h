// What a gauge definition includes: the host operations, the element and mouse-table
// builders, and the service routine made from each gauge's module definition.
//
// Every builder is consteval: a gauge is constant-initialised data, so loading a module
// runs none of its code, and a table that breaks a rule of the panel fails the build.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "framework/format.h"
#include "framework/host_interface.h"

extern "C" {
extern GAUGESIMPORT ImportTable;
extern GAUGESLINKAGE Linkage;
}

namespace vk4 {

// ---- host operations: the function table is read from the import table at every call --

inline int32_t trigger_key_event(uint32_t event_id, uint32_t value) {
  return ImportTable.panels.pointer->trigger_key_event(event_id, value);
}
inline int32_t register_var_by_name(void* storage, int32_t type, const char* name) {
  return ImportTable.panels.pointer->register_var_by_name(storage, type, name);
}
inline int32_t initialize_var_by_name(MODULE_VAR* var, const char* name) {
  return ImportTable.panels.pointer->initialize_var_by_name(var, name);
}
inline void lookup_var(MODULE_VAR* var) { ImportTable.panels.pointer->lookup_var(var); }
inline int32_t unregister_var_by_name(const char* name) {
  return ImportTable.panels.pointer->unregister_var_by_name(name);
}

// The clamp of the needle and handle routines: first, a value above the upper bound becomes the
// upper bound; then, if the lower bound is above the value, it becomes the lower bound.
// Both tests are strict, so a value that is not a number passes unchanged.
constexpr double strict_clamp(double value, double lower, double upper) {
  if (value > upper) value = upper;
  if (lower > value) value = lower;
  return value;
}

// The click handler of an area that sends one key event with a fixed value: it ignores
// the click point and the mouse flags, ignores the host's result, and returns 0.
// Internal linkage, like every routine of a gauge.
template <uint32_t Event, uint32_t Value = 0>
static int32_t HOSTCALL send_event(PIXPOINT*, uint32_t) {
  trigger_key_event(Event, Value);
  return 0;
}

// A value routine that passes its icon's source value on unchanged.
[[maybe_unused]] static double HOSTCALL source_value(ELEMENT_ICON* icon) { return icon->source.value.d; }

// ---- the module ------------------------------------------------------------------------

// What a gauge adds to the service routine. Each hook runs after the common work
// of its stage; first_draw runs after the statics have been reset.
struct ModuleDefinition {
  std::span<MODULE_VAR* const> refreshed{};  // looked up at pre-update, in this order
  std::span<int32_t* const> statics{};       // set to 0 by the first-draw reset, in order
  void (*pre_install)() = nullptr;
  void (*pre_initialize)() = nullptr;
  void (*pre_update)() = nullptr;
  void (*first_draw)() = nullptr;
  void (*pre_kill)() = nullptr;
};

// Defined by each gauge (VK4_GAUGE below).
extern GAUGEHDR gauge_header;

// Module-level state and work every module shares (framework/module.cpp).
extern int32_t first_draw_done;
void bind_sound_library();
void release_sound_library();

// The service routine, made for each gauge from its definition, so that what a gauge
// does not add costs nothing at pre-update and pre-draw: these run at every panel update
// and draw. Every other code, negative ones included, has no work; the header address
// and the extra word are not used.
template <const ModuleDefinition& D>
void HOSTCALL gauge_service(GAUGEHDR*, int32_t service_code, uint32_t) {
  switch (service_code) {
    case PANEL_SERVICE_PRE_INSTALL:
      if (D.pre_install != nullptr) D.pre_install();
      break;
    case PANEL_SERVICE_PRE_INITIALIZE:
      bind_sound_library();
      if (D.pre_initialize != nullptr) D.pre_initialize();
      break;
    case PANEL_SERVICE_PRE_UPDATE:
      for (MODULE_VAR* v : D.refreshed) lookup_var(v);
      if (D.pre_update != nullptr) D.pre_update();
      break;
    case PANEL_SERVICE_PRE_DRAW:
      // The first-draw reset: once per load of the module, whatever came before.
      if (first_draw_done == 0) {
        first_draw_done = 1;
        for (int32_t* s : D.statics) *s = 0;
        if (D.first_draw != nullptr) D.first_draw();
      }
      break;
    case PANEL_SERVICE_PRE_KILL:
      release_sound_library();
      if (D.pre_kill != nullptr) D.pre_kill();
      break;
    default:
      break;
  }
}

struct Size {
  int32_t w;
  int32_t h;
};

// ---- elements ------------------------------------------------------------------------------

// An element with its own failure list and its next list, so that a gauge declares each
// element once.
template <class E>
struct Element {
  E element;
  FAILURE_RECORD failures[1];
  ELEMENT_HEADER* next[2];

  ELEMENT_HEADER* header() { return &element.header; }
};

using StaticImage = Element<ELEMENT_STATIC_IMAGE>;
using Icon = Element<ELEMENT_ICON>;
using Needle = Element<ELEMENT_NEEDLE>;
using String = Element<ELEMENT_STRING>;
using Slider = Element<ELEMENT_SLIDER>;

// Whether a routine is given. GCC 12 cannot compare the address of a template function
// with null in a constant expression under UndefinedBehaviorSanitizer; the sanitised
// build (which runs the tests) skips this check, every other build makes it.
template <class F>
consteval bool given(F f) {
#if defined(__SANITIZE_ADDRESS__)
  (void)f;
  return true;
#else
  return f != nullptr;
#endif
}

consteval bool is_background_bitmap(int32_t id) {
  return id == 0x100 || (id % 0x100 == 0 && id >= 0x1100 && id <= 0x2000);
}
consteval bool is_element_bitmap(int32_t id) {
  return id % 0x100 == 0 && id >= 0x1100 && id <= 0x2000;
}

template <class E, class C>
consteval ELEMENT_HEADER element_header(Element<E>& self, ELEMENT_KIND kind, int32_t bitmap,
                                        PIXPOINT position, PIXPOINT pivot, Element<C>* child) {
  ELEMENT_HEADER h{};
  h.kind = kind;
  h.bitmap = bitmap;
  h.position = position;
  h.pivot = pivot;
  h.gauge_header = &gauge_header;
  h.next = child != nullptr ? self.next : nullptr;
  h.failures = self.failures;
  h.image_flags = IMAGE_FLAGS;
  return h;
}

template <class E, class C>
consteval void link(Element<E>& made, Element<C>* child) {
  made.failures[0] = FAILURE_RECORD{};
  made.next[0] = child != nullptr ? &child->element.header : nullptr;
  made.next[1] = nullptr;
}

// The root of every gauge: its background at (0, 0).
template <class C>
consteval StaticImage static_image(StaticImage& self, int32_t bitmap, Element<C>* child) {
  if (!is_background_bitmap(bitmap)) throw "a background is bitmap 0x100 or of the element range";
  StaticImage made{};
  made.element.header =
      element_header(self, ELEMENT_KIND_STATIC_IMAGE, bitmap, {0, 0}, {0, 0}, child);
  link(made, child);
  return made;
}
consteval StaticImage static_image(StaticImage& self, int32_t bitmap) {
  return static_image<ELEMENT_STATIC_IMAGE>(self, bitmap, nullptr);
}

struct IconFields {
  int32_t bitmap;  // frame 0; frame k is bitmap + k
  int32_t frames;
  PIXPOINT position;
  uint32_t source = 0;  // simulator variable, 0 for none
  double(HOSTCALL* routine)(ELEMENT_ICON*) = nullptr;
};

template <class C>
consteval Icon icon(Icon& self, IconFields f, Element<C>* child) {
  if (!is_element_bitmap(f.bitmap)) throw "an icon's bitmap is a multiple of 0x100 from 0x1100 to 0x2000";
  if (f.frames < 2 || f.frames > 6) throw "an icon has 2 to 6 frames";
  if (!given(f.routine)) throw "an icon needs a value routine";
  Icon made{};
  made.element.header = element_header(self, ELEMENT_KIND_ICON, f.bitmap, f.position, {0, 0}, child);
  made.element.source.id = f.source;
  made.element.icon_mode = ICON_MODE;
  made.element.frame_count = f.frames;
  made.element.value_routine = f.routine;
  link(made, child);
  return made;
}
consteval Icon icon(Icon& self, IconFields f) { return icon<ELEMENT_ICON>(self, f, nullptr); }

// A calibration row as a gauge and its artwork share it: a pixel of the background in
// the direction the needle points for the value.
struct CalibrationPoint {
  int32_t x;
  int32_t y;
  double value;
};

// The needle's table of rows, degrees 0: the host fills them in.
template <size_t N>
consteval std::array<NONLINEARITY, N> calibration(const std::array<CalibrationPoint, N>& points) {
  if (N < 2 || N > 5) throw "a calibration table has 2 to 5 rows";
  std::array<NONLINEARITY, N> rows{};
  for (size_t i = 0; i < N; ++i) rows[i] = {points[i].x, points[i].y, points[i].value, 0.0};
  return rows;
}

struct NeedleFields {
  int32_t bitmap;
  PIXPOINT pivot_at;  // the pivot on the background
  PIXPOINT pivot;     // the pixel of the bitmap that sits on the pivot
  uint32_t source;
  double(HOSTCALL* routine)(ELEMENT_NEEDLE*) = nullptr;
  int32_t row_count = 0;  // the rows of the table in use; 0: all of them
};

template <size_t N, class C>
consteval Needle needle(Needle& self, NeedleFields f, std::array<NONLINEARITY, N>& rows, Element<C>* child) {
  if (!is_element_bitmap(f.bitmap)) throw "a needle's bitmap is a multiple of 0x100 from 0x1100 to 0x2000";
  if (!given(f.routine)) throw "a needle needs a value routine";
  Needle made{};
  made.element.header = element_header(self, ELEMENT_KIND_NEEDLE, f.bitmap, f.pivot_at, f.pivot, child);
  made.element.source.id = f.source;
  if (f.row_count < 0 || f.row_count > static_cast<int32_t>(N)) throw "a needle uses at most the rows of its table";
  const int32_t used = f.row_count == 0 ? static_cast<int32_t>(N) : f.row_count;
  if (used < 2) throw "a needle has 2 to 5 calibration rows";
  made.element.calibration = rows.data();
  made.element.row_count = used;
  made.element.value_routine = f.routine;
  link(made, child);
  return made;
}
template <size_t N>
consteval Needle needle(Needle& self, NeedleFields f, std::array<NONLINEARITY, N>& rows) {
  return needle<N, ELEMENT_NEEDLE>(self, f, rows, nullptr);
}

// A string routine's one write: formatted, bounded by the host's buffer, terminated.
inline void write_text(ELEMENT_STRING* e, const Format& format, double value) {
  format_fixed(e->text, TEXT_BUFFER_SIZE, format, value);
}

struct StringFields {
  PIXPOINT position;  // top-left corner of the text box
  Size box;
  uint32_t source;
  int32_t weight;  // 500 or 700
  double(HOSTCALL* routine)(ELEMENT_STRING*) = nullptr;
};

template <class C>
consteval String string_element(String& self, StringFields f, Element<C>* child) {
  if (f.weight != 500 && f.weight != 700) throw "a string's font weight is 500 or 700";
  if (!given(f.routine)) throw "a string needs a value routine";
  String made{};
  made.element.header = element_header(self, ELEMENT_KIND_STRING, NO_BITMAP, f.position, {0, 0}, child);
  made.element.sources[0].id = f.source;
  made.element.box_w = f.box.w;
  made.element.box_h = f.box.h;
  made.element.foreground = 0xFFFFFF;
  made.element.background = 0x000000;
  made.element.highlight = 0x000000;
  constexpr std::string_view font = "Courier New";
  for (size_t i = 0; i < font.size(); ++i) made.element.font_name[i] = font[i];
  made.element.font_weight = f.weight;
  made.element.charset = 1;
  made.element.text_options[0] = 0;
  made.element.text_options[1] = 0x4240;
  made.element.value_routine = f.routine;
  link(made, child);
  return made;
}
consteval String string_element(String& self, StringFields f) {
  return string_element<ELEMENT_STRING>(self, f, nullptr);
}

struct SliderFields {
  int32_t bitmap;
  PIXPOINT position;  // top-left corner of the bitmap with both displacements 0
  uint32_t source_x;
  double scale_x;  // pixels per unit of the x result; 0 holds the axis
  uint32_t source_y;
  double scale_y;
  double(HOSTCALL* routine_x)(ELEMENT_SLIDER*) = nullptr;
  double(HOSTCALL* routine_y)(ELEMENT_SLIDER*) = nullptr;
};

template <class C>
consteval Slider slider(Slider& self, SliderFields f, Element<C>* child) {
  if (!is_element_bitmap(f.bitmap)) throw "a slider's bitmap is a multiple of 0x100 from 0x1100 to 0x2000";
  if (!given(f.routine_x) || !given(f.routine_y)) throw "a slider needs both value routines";
  Slider made{};
  made.element.header = element_header(self, ELEMENT_KIND_SLIDER, f.bitmap, f.position, {0, 0}, child);
  made.element.source_x.id = f.source_x;
  made.element.scale_x = f.scale_x;
  made.element.source_y.id = f.source_y;
  made.element.scale_y = f.scale_y;
  made.element.value_routine_x = f.routine_x;
  made.element.value_routine_y = f.routine_y;
  link(made, child);
  return made;
}
consteval Slider slider(Slider& self, SliderFields f) { return slider<ELEMENT_SLIDER>(self, f, nullptr); }

// ---- mouse areas ------------------------------------------------------------------------

struct MouseArea {
  PIXBOX box;
  int32_t cursor;
  uint32_t flags;
  MOUSE_HANDLER handler;
};

consteval bool overlap(const PIXBOX& a, const PIXBOX& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

consteval MOUSERECT mouse_marker(MOUSE_KIND kind) {
  MOUSERECT r{};
  r.kind = kind;
  r.cursor = CURSOR_NONE;
  return r;
}

// The table: parent, the children in order, end of parent, end of list. The children
// must start on the gauge, never overlap, and use the panel's cursors and flags.
template <size_t N>
consteval std::array<MOUSERECT, N + 3> mouse_table(Size gauge, const std::array<MouseArea, N>& areas) {
  std::array<MOUSERECT, N + 3> table{};
  table[0] = mouse_marker(MOUSE_PARENT);
  for (size_t i = 0; i < N; ++i) {
    const MouseArea& a = areas[i];
    if (a.box.w <= 0 || a.box.h <= 0) throw "a mouse box is never empty";
    if (a.box.x < 0 || a.box.y < 0 || a.box.x >= gauge.w || a.box.y >= gauge.h)
      throw "a mouse box starts on the gauge";
    if (a.cursor != CURSOR_UP_ARROW && a.cursor != CURSOR_DOWN_ARROW && a.cursor != CURSOR_HAND)
      throw "a child area shows the up arrow, the down arrow or the hand";
    if (a.flags != MOUSE_LEFT_CLICK && a.flags != (MOUSE_LEFT_CLICK | MOUSE_REPEAT))
      throw "a child area answers the left button, with or without repeat";
    if (!given(a.handler)) throw "a child area has a click handler";
    for (size_t j = 0; j < i; ++j)
      if (overlap(a.box, areas[j].box)) throw "child boxes never overlap";
    MOUSERECT& r = table[i + 1];
    r.kind = MOUSE_CHILD;
    r.box = a.box;
    r.cursor = a.cursor;
    r.mouse_flags = a.flags;
    r.handler = a.handler;
  }
  table[N + 1] = mouse_marker(MOUSE_END_OF_PARENT);
  table[N + 2] = mouse_marker(MOUSE_END_OF_LIST);
  return table;
}
consteval std::array<MOUSERECT, 3> mouse_table(Size gauge) {
  return mouse_table<0>(gauge, std::array<MouseArea, 0>{});
}

// ---- the gauge header ----------------------------------------------------------------------

consteval GAUGEHDR make_gauge_header(std::string_view name, ELEMENT_HEADER** element_list, MOUSERECT* mouse,
                                     GAUGE_SERVICE service) {
  if (name.size() > 16 || name.substr(0, 4) != "vk4_") throw "a gauge is named vk4_ and a role word";
  GAUGEHDR h{};
  h.header_version = GAUGE_HEADER_VERSION;
  h.gauge_name = name.data();
  h.element_list = element_list;
  h.size_x_mm = 100;
  h.mouse_table = mouse;
  h.service = service;
  return h;
}

}  // namespace vk4

// Defines the gauge's header and its module definition. NAME must be a string literal
// (or a view of one): the header points at it.
#define VK4_GAUGE(NAME, ROOT, MOUSE, ...)                                                   \
  static_assert(std::string_view(NAME) == VK4_GAUGE_NAME, "the gauge is named as its module"); \
  namespace {                                                                              \
  constinit ELEMENT_HEADER* vk4_element_list = &(ROOT).element.header;                    \
  constexpr vk4::ModuleDefinition vk4_definition = {__VA_ARGS__};                           \
  }                                                                                        \
  constinit GAUGEHDR vk4::gauge_header = vk4::make_gauge_header(                           \
      (NAME), &vk4_element_list, (MOUSE).data(), vk4::gauge_service<vk4_definition>);
